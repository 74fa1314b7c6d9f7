// The least a program can do to start what a script of plain lines starts:
// the same command line, folder, flags and calls as skervo.exe, and nothing
// else. Arguments: the number of launches, then the program's path.
#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const std::string program = argv[2];
    const std::string folder = program.substr(0, program.find_last_of("\\:") + 1);
    for (int launch = 0; launch < count; ++launch) {
        std::string commandLine = "\"" + program + "\" ";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNA;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                            CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, folder.c_str(),
                            &startup, &process)) {
            return 1;
        }
        CloseHandle(process.hThread);
        WaitForInputIdle(process.hProcess, 10000);
        CloseHandle(process.hProcess);
    }
    return 0;
}
