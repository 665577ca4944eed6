# CPU time of a process and the machine's load, for the benchmarks that set the program against a
# bare pipeline. Sourced.

ticks_per_second=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks (fields 14 and 15; the name in brackets may hold spaces).
cpu_ticks() {
    local stat
    stat=$(<"/proc/$1/stat")
    stat=${stat##*) }
    local fields=($stat)
    echo $((fields[11] + fields[12]))
}

percent_of_core() {  # <ticks> <seconds>
    awk -v t="$1" -v hz="$ticks_per_second" -v s="$2" 'BEGIN{printf "%.2f", 100 * t / hz / s}'
}

ratio() {  # <program> <bare>
    awk -v p="$1" -v b="$2" 'BEGIN{printf "%.2f", (b > 0 ? p / b : 0)}'
}

load() { cut -d' ' -f1 /proc/loadavg; }
