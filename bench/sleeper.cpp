// What the closing benchmark lists: many idle processes. A console program
// that starts the given number of copies of itself, sleeping as long, then
// sleeps for the given number of seconds and ends. Arguments: the seconds,
// then the copies (none by default).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        return 2;
    }
    const int copies = argc == 3 ? std::atoi(argv[2]) : 0;
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    char commandLine[MAX_PATH + 32];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" %s", program, argv[1]);
    for (int copy = 0; copy < copies; ++copy) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            return 1;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    Sleep(static_cast<DWORD>(std::atoi(argv[1])) * 1000);
    return 0;
}
