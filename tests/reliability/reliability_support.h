// Folders, files, the sample service and child processes for the reliability tests.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "fetch_model.h"
#include "schedule/year_file.h"
#include "support/sjis_text.h"
#include "testing/built_program.h"
#include "testing/delivered_records.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

extern char** environ;

namespace koyomi::reliability {

namespace fs = std::filesystem;

using testing::DeliveredRecords;
using testing::FolderNames;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

inline fs::path SampleService() {
    return KOYOMI_SAMPLE_SERVICE;
}

// The sample service copied to `folder`, downloads made instant.
inline void CopySampleService(const fs::path& folder, std::string_view faults = {}) {
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(SampleService())) {
        if (entry.path().extension() == ".jvd") {
            fs::copy_file(entry.path(), folder / entry.path().filename());
        }
    }
    WriteBytes(folder / "faults.ini", std::string(faults) + "\n[download]\nms_per_file=0\n");
}

// The year files of a program folder, by year (the first four bytes of the name).
inline YearTexts YearFilesIn(const fs::path& folder) {
    YearTexts texts;
    for (const fs::path& file : ListYearFiles(folder)) {
        texts[file.filename().string().substr(0, 4)] = ReadBytes(file);
    }
    return texts;
}

// Names in the folder that are neither year files nor the settings file: what a write left
// behind.
inline std::vector<std::string> LeftOvers(const fs::path& folder) {
    std::vector<std::string> left;
    for (const std::string& name : FolderNames(folder)) {
        if (!name.ends_with(".jvYS") && name != "koyomivw.ini") {
            left.push_back(name);
        }
    }
    return left;
}

// The environment of a child that uses the control: its data service, settings and cache
// under `root`.
inline std::map<std::string, std::string> ControlEnvironment(const fs::path& root,
                                                             const fs::path& service) {
    return {{"JVLINK_SERVICE_DIR", service.string()},
            {"XDG_CONFIG_HOME", (root / "config").string()},
            {"XDG_CACHE_HOME", (root / "cache").string()}};
}

// A child process whose standard output goes to a file.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment, const fs::path& output)
        : output_(output) {
        std::vector<std::string> variables;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string_view text = *variable;
            if (!environment.contains(std::string(text.substr(0, text.find('='))))) {
                variables.emplace_back(text);
            }
        }
        for (const auto& [name, value] : environment) {
            variables.push_back(name + "=" + value);
        }
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& variable : variables) {
            envp.push_back(variable.data());
        }
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            pid_ = -1;
            ADD_FAILURE() << "cannot start " << arguments.front() << ": " << error;
        }
    }
    ~ChildProcess() {
        if (pid_ > 0 && !exited_) {
            Kill();
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // SIGKILL now; true when the child was still running (it had not ended by itself).
    bool Kill() {
        if (pid_ <= 0 || exited_ || Reap(WNOHANG)) {
            return false;
        }
        ::kill(pid_, SIGKILL);
        Reap(0);
        return !WIFEXITED(status_);  // it may have ended just before the signal
    }

    // Waits for the end; the exit status, or -1 after `limit` (the child is then killed).
    int Wait(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!exited_ && !Reap(WNOHANG)) {
            if (std::chrono::steady_clock::now() > deadline) {
                Kill();
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }

    std::string Output() const { return ReadBytes(output_); }

  private:
    bool Reap(int options) {
        if (exited_) {
            return true;
        }
        const pid_t done = ::waitpid(pid_, &status_, options);
        exited_ = done == pid_;
        return exited_;
    }

    fs::path output_;
    pid_t pid_ = -1;
    int status_ = 0;
    bool exited_ = false;
};

inline std::string DriverProgram() {
    return KOYOMI_FETCH_DRIVER;
}

// The folder of the control library the driver loads.
inline std::string ControlFolder() {
    return testing::BuiltProgramFolder().string();
}

// A whole number from the environment, or the default.
inline long EnvironmentNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= 0 ? value : fallback;
}

}  // namespace koyomi::reliability
