// A console program that notes how it was started: its command line and
// current directory, one line each, in probe.log beside it. "sleep=N" in
// its arguments keeps it running N milliseconds; "until=NAME", last on the
// line, keeps it running until a file NAME exists beside it (at most 4 min).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static std::string LogPath() {
    char path[4096];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "probe.log";
}

int main() {
    const char* commandLine = GetCommandLineA();
    char directory[4096];
    GetCurrentDirectoryA(sizeof directory, directory);
    if (FILE* log = std::fopen(LogPath().c_str(), "ab")) {
        std::fprintf(log, "cmd=%s\ndir=%s\n", commandLine, directory);
        std::fclose(log);
    }
    if (const char* sleep = std::strstr(commandLine, "sleep=")) {
        Sleep(static_cast<DWORD>(std::atoi(sleep + 6)));
    }
    if (const char* until = std::strstr(commandLine, "until=")) {
        const std::string log = LogPath();
        const std::string awaited = log.substr(0, log.size() - 9) + (until + 6);
        for (int tries = 0;
             tries < 2400 && GetFileAttributesA(awaited.c_str()) == INVALID_FILE_ATTRIBUTES;
             ++tries) {
            Sleep(100);
        }
    }
    return 0;
}
