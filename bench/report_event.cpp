// What the event at the end of an unattended run costs at the least: the
// calls skervo.exe makes for it (RegisterEventSourceA, ReportEventA with its
// five strings, DeregisterEventSource), as many times as asked. Prints the
// microseconds one event took.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const char* strings[] = {"C:\\Scripts\\nuit.skervo", "601,9", "1", "2",
                             "C:\\Journaux\\nuit.log"};
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int event = 0; event < count; ++event) {
        HANDLE source = RegisterEventSourceA(nullptr, "Skervo");
        if (source == nullptr || !ReportEventA(source, EVENTLOG_WARNING_TYPE, 0, 1002, nullptr, 5,
                                               0, strings, nullptr)) {
            return 1;
        }
        DeregisterEventSource(source);
    }
    QueryPerformanceCounter(&end);
    std::printf("%.2f\n", static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                              static_cast<double>(frequency.QuadPart) / count);
    return 0;
}
