#include "EffectTestSupport.h"

#include <sys/wait.h>

#include <stdexcept>

namespace effecttest {

ScratchDir::ScratchDir() {
    GError* error = nullptr;
    gchar* made = g_dir_make_tmp("vistrel-effect-XXXXXX", &error);
    if (!made) {
        const std::string message = error ? error->message : "g_dir_make_tmp failed";
        g_clear_error(&error);
        throw std::runtime_error(message);
    }
    m_path = made;
    g_free(made);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::vector<EnvChange>& env) {
    std::vector<gchar*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<gchar*>(arg.c_str()));
    args.push_back(nullptr);
    gchar** envp = g_get_environ();
    for (const EnvChange& change : env) {
        envp = change.unset ? g_environ_unsetenv(envp, change.name.c_str())
                            : g_environ_setenv(envp, change.name.c_str(), change.value.c_str(), TRUE);
    }
    ProcessResult result;
    gchar* out = nullptr;
    gchar* err = nullptr;
    gint status = 0;
    GError* error = nullptr;
    if (g_spawn_sync(nullptr, args.data(), envp, G_SPAWN_DEFAULT, nullptr, nullptr, &out, &err, &status, &error)) {
        result.out = out ? out : "";
        result.err = err ? err : "";
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    } else {
        result.err = error ? error->message : "spawn failed";
        g_clear_error(&error);
    }
    g_free(out);
    g_free(err);
    g_strfreev(envp);
    return result;
}

}  // namespace effecttest
