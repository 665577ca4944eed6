#include "platform/MachineLocale.h"

#include <optional>
#include <string_view>
#include <utility>

namespace platform {
namespace {

// The three settings that decide the language of messages; a later assignment wins, as it
// would in the shell that reads the file.
struct MessageSettings {
    std::string lcAll, lcMessages, lang;

    void Assign(std::string_view name, std::string value) {
        if (name == "LC_ALL") lcAll = std::move(value);
        else if (name == "LC_MESSAGES") lcMessages = std::move(value);
        else if (name == "LANG") lang = std::move(value);
    }
    std::string Locale() const { return !lcAll.empty() ? lcAll : !lcMessages.empty() ? lcMessages : lang; }
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

std::string_view SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return text.substr(i);
}

// One shell word: unquoted text up to a blank, with '…' taken literally and "…" undoing the
// backslashes the shell undoes there. Nothing when a quote is left open.
std::optional<std::string> ShellWord(std::string_view text) {
    std::string word;
    size_t i = 0;
    while (i < text.size() && !IsBlank(text[i])) {
        const char c = text[i++];
        if (c == '\'') {
            const size_t close = text.find('\'', i);
            if (close == std::string_view::npos) return std::nullopt;
            word.append(text.substr(i, close - i));
            i = close + 1;
        } else if (c == '"') {
            for (;;) {
                if (i >= text.size()) return std::nullopt;
                const char q = text[i++];
                if (q == '"') break;
                if (q == '\\' && i < text.size() && std::string_view("\"\\$`").find(text[i]) != std::string_view::npos)
                    word += text[i++];
                else
                    word += q;
            }
        } else if (c == '\\' && i < text.size()) {
            word += text[i++];
        } else {
            word += c;
        }
    }
    return word;
}

// "[export] NAME=value [# comment]"; other lines (comments, commands, broken quotes) set nothing.
void ReadShellLine(std::string_view line, MessageSettings& settings) {
    line = SkipBlanks(line);
    if (line.starts_with("export") && line.size() > 6 && IsBlank(line[6])) line = SkipBlanks(line.substr(6));
    if (line.empty() || !IsNameStart(line[0])) return;
    size_t end = 1;
    while (end < line.size() && IsNameChar(line[end])) ++end;
    if (end >= line.size() || line[end] != '=') return;
    if (std::optional<std::string> value = ShellWord(line.substr(end + 1)))
        settings.Assign(line.substr(0, end), std::move(*value));
}

std::string LocaleOfShellText(std::string_view text) {
    MessageSettings settings;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        if (line.ends_with('\r')) line.remove_suffix(1);
        ReadShellLine(line, settings);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    }
    return settings.Locale();
}

std::string LocaleOfAssignments(const std::vector<std::string>& assignments) {
    MessageSettings settings;
    for (const std::string& assignment : assignments) {
        const size_t equals = assignment.find('=');
        if (equals != std::string::npos)
            settings.Assign(std::string_view(assignment).substr(0, equals), assignment.substr(equals + 1));
    }
    return settings.Locale();
}

}  // namespace

std::string ChooseMachineLocale(const MachineLocaleSources& sources) {
    if (std::string locale = LocaleOfAssignments(sources.locale1); !locale.empty()) return locale;
    for (const std::string& text : sources.localeFiles)
        if (std::string locale = LocaleOfShellText(text); !locale.empty()) return locale;
    return MessageSettings{sources.lcAll, sources.lcMessages, sources.lang}.Locale();
}

}  // namespace platform
