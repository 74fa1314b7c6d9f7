// A windowed application with the title given on its command line; it notes
// every WM_CLOSE it receives in windowed_app.log beside it. With "ignore" it
// stays open after a close request; with "hidden" its window is never shown.
#include <windows.h>

#include <string>

static std::string title;
static bool ignoreClose = false;

static std::string LogPath() {
    char path[4096];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "windowed_app.log";
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // One appending write per line: copies that close together never mix their lines.
        const HANDLE log =
            CreateFileA(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            const std::string line = "WM_CLOSE " + title + "\n";
            DWORD written = 0;
            WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(log);
        }
        if (ignoreClose) {
            return 0;
        }
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Arguments: the title, then optionally "|" and the words "ignore" and "hidden".
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    const std::string text = arguments;
    const std::size_t end = text.find('|');
    title = text.substr(0, end);
    const std::string options = end == std::string::npos ? "" : text.substr(end);
    ignoreClose = options.find("ignore") != std::string::npos;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "SkervoTestApp";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "SkervoTestApp", title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10,
                                  300, 200, nullptr, nullptr, instance, nullptr);
    if (options.find("hidden") == std::string::npos) {
        ShowWindow(window, SW_SHOWNA);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
