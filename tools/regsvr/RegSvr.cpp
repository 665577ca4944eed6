// vistrel-regsvr [-s] [-u] <path/Videoeffect.ax>
//
// Registers the effect filter for the current user: checks that the file is the Videoeffect
// GStreamer plugin, then installs a copy where GStreamer's registry scan finds it. -u removes
// that copy; -s prints nothing on success (errors always go to stderr).
#include <glib/gstdio.h>
#include <gst/gst.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "GRefPtr.h"

#include "videoeffect/VideoEffect.h"

namespace {

enum ExitCode : int { kOk = 0, kUsage = 1, kNotThePlugin = 2, kInstallFailed = 3 };

struct Options {
    bool silent = false;
    bool unregister = false;
    std::string path;
};

int Usage(const char* message) {
    std::fprintf(stderr, "vistrel-regsvr: %s\nusage: vistrel-regsvr [-s] [-u] <path/%s>\n", message,
                 videoeffect::kPluginFileName);
    return kUsage;
}

// The program builds the path Windows-style ("<folder>\Videoeffect.ax"); when that names no
// file, the same path with forward slashes is tried.
std::string ExistingPath(std::string path) {
    if (g_file_test(path.c_str(), G_FILE_TEST_EXISTS) || path.find('\\') == std::string::npos) return path;
    std::string slashed = path;
    for (char& c : slashed) {
        if (c == '\\') c = '/';
    }
    return g_file_test(slashed.c_str(), G_FILE_TEST_EXISTS) ? slashed : path;
}

std::string InstallFolder() {
    GCharPtr folder{g_build_filename(g_get_user_data_dir(), "gstreamer-1.0", "plugins", nullptr)};
    return folder.get();
}

std::string InstalledPath() {
    GCharPtr path{g_build_filename(InstallFolder().c_str(), videoeffect::kInstalledFileName, nullptr)};
    return path.get();
}

int Register(const Options& options) {
    const std::string source = ExistingPath(options.path);
    if (!g_file_test(source.c_str(), G_FILE_TEST_IS_REGULAR)) {
        std::fprintf(stderr, "vistrel-regsvr: %s: no such file\n", source.c_str());
        return kNotThePlugin;
    }
    GErrorPtr error;
    if (!gst_init_check(nullptr, nullptr, OutPtr(error))) {
        std::fprintf(stderr, "vistrel-regsvr: cannot start GStreamer: %s\n", error ? error->message : "unknown error");
        return kInstallFailed;
    }
    auto plugin = AdoptGRef(gst_plugin_load_file(source.c_str(), OutPtr(error)));
    if (!plugin) {
        std::fprintf(stderr, "vistrel-regsvr: %s is not a GStreamer plugin: %s\n", source.c_str(),
                     error ? error->message : "unknown error");
        return kNotThePlugin;
    }
    const std::string name = gst_plugin_get_name(plugin.get());
    plugin.reset();
    if (name != videoeffect::kPluginName) {
        std::fprintf(stderr, "vistrel-regsvr: %s is the GStreamer plugin \"%s\", not \"%s\"\n", source.c_str(),
                     name.c_str(), videoeffect::kPluginName);
        return kNotThePlugin;
    }

    const std::string folder = InstallFolder();
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) {
        std::fprintf(stderr, "vistrel-regsvr: cannot create %s: %s\n", folder.c_str(), std::strerror(errno));
        return kInstallFailed;
    }
    GCharPtr data;
    gsize length = 0;
    if (!g_file_get_contents(source.c_str(), OutPtr(data), &length, OutPtr(error))) {
        std::fprintf(stderr, "vistrel-regsvr: %s\n", error->message);
        return kInstallFailed;
    }
    // Written to a temporary file and renamed over the target, so a running scan never loads a
    // half-written plugin.
    const std::string target = InstalledPath();
    if (!g_file_set_contents_full(target.c_str(), data.get(), static_cast<gssize>(length),
                                  G_FILE_SET_CONTENTS_CONSISTENT, 0644, OutPtr(error))) {
        std::fprintf(stderr, "vistrel-regsvr: %s\n", error->message);
        return kInstallFailed;
    }
    if (!options.silent) std::printf("Registered %s as %s\n", source.c_str(), target.c_str());
    return kOk;
}

int Unregister(const Options& options) {
    const std::string target = InstalledPath();
    if (g_unlink(target.c_str()) != 0 && errno != ENOENT) {
        std::fprintf(stderr, "vistrel-regsvr: cannot remove %s: %s\n", target.c_str(), std::strerror(errno));
        return kInstallFailed;
    }
    if (!options.silent) std::printf("Unregistered %s (removed %s)\n", options.path.c_str(), target.c_str());
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "-s") {
            options.silent = true;
        } else if (!optionsEnded && arg == "-u") {
            options.unregister = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return Usage(("unknown option " + arg).c_str());
        } else if (options.path.empty()) {
            options.path = arg;
        } else {
            return Usage("more than one file given");
        }
    }
    if (options.path.empty()) return Usage("no file given");
    return options.unregister ? Unregister(options) : Register(options);
}
