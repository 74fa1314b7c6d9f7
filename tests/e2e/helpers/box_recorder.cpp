// Stands in for the user during the end-to-end tests.
//
//   box_recorder LOG STOPFILE
//       Watches the desktop for message boxes until STOPFILE exists. For each box it appends
//       "caption-hex<TAB>icon<TAB>text-hex" to LOG, then presses OK. The texts are the ANSI
//       bytes of the box; icon is information, error, warning, question or unknown.
//   box_recorder --close-status DELAY_MS
//       Waits for the status window, then after DELAY_MS asks it to close, as its close cross
//       would. Exits with 1 when no status window appeared within 20 s.

#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kPollMs = 50;
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 1088;

std::string WindowText(HWND window) {
    std::vector<char> text(1 << 16);
    int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), length > 0 ? length : 0);
}

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

// A 32-bit top-down bitmap with a memory device context around it.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ former = nullptr;
    DWORD* pixels = nullptr;

    Canvas(int width, int height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<DWORD*>(bits);
        former = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, former);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

bool Similar(DWORD a, DWORD b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) >
            48) {
            return false;
        }
    }
    return true;
}

// Icon handles cannot be compared across processes, so the icon is recognised by its picture:
// the icon control's pixels are taken from the screen and compared with each system icon drawn
// the same way on the control's background colour. Empty while the control is not painted yet.
std::string IconKindOnScreen(HWND icon_control) {
    static const struct {
        LPCSTR id;
        const char* kind;
    } kCandidates[] = {{IDI_INFORMATION, "information"},
                       {IDI_ERROR, "error"},
                       {IDI_WARNING, "warning"},
                       {IDI_QUESTION, "question"}};
    RECT area;
    POINT origin = {0, 0};
    if (!GetClientRect(icon_control, &area) || !ClientToScreen(icon_control, &origin)) {
        return "";
    }
    const int width = area.right, height = area.bottom, count = width * height;
    if (count <= 0) {
        return "";
    }
    Canvas shown(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(shown.dc, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();

    for (const auto& candidate : kCandidates) {
        Canvas expected(width, height);
        // The icons' corners are transparent, so the corner shows the control's background.
        for (int i = 0; i < count; ++i) {
            expected.pixels[i] = shown.pixels[0];
        }
        DrawIconEx(expected.dc, 0, 0, LoadIconA(nullptr, candidate.id), width, height, 0, nullptr,
                   DI_NORMAL);
        GdiFlush();
        int different = 0;
        for (int i = 0; i < count; ++i) {
            different += !Similar(shown.pixels[i], expected.pixels[i]);
        }
        if (different * 20 <= count) {
            return candidate.kind;
        }
    }
    return "";
}

std::string IconKind(HWND box) {
    HWND icon_control = GetDlgItem(box, kIconId);
    DWORD_PTR icon = 0;
    if (!icon_control || !IsWindowVisible(icon_control) ||
        !SendMessageTimeoutA(icon_control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 1000, &icon) ||
        !icon) {
        return "none";
    }
    // Boxes shown by two threads at once open at the same place: the one read is raised above
    // the other, whose picture would otherwise cover its icon. It may not be painted yet when
    // it becomes visible.
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int attempt = 0; attempt < 60; ++attempt) {
        std::string kind = IconKindOnScreen(icon_control);
        if (!kind.empty()) {
            return kind;
        }
        Sleep(kPollMs);
    }
    return "unknown";
}

void Append(const char* log_path, const std::string& line) {
    HANDLE log = CreateFileA(log_path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
}

BOOL CALLBACK CollectBox(HWND window, LPARAM boxes) {
    char class_name[16] = {};
    GetClassNameA(window, class_name, sizeof(class_name));
    if (lstrcmpA(class_name, "#32770") == 0 && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    }
    return TRUE;
}

int RecordBoxes(const char* log_path, const char* stop_path) {
    // Fails the session at once when the ANSI code page cannot carry the French texts.
    if (GetACP() != 1252) {
        return 2;
    }
    CloseHandle(CreateFileA(log_path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    // Boxes already answered, until they are gone; an answered box may linger a moment.
    std::set<HWND> answered;
    while (GetFileAttributesA(stop_path) == INVALID_FILE_ATTRIBUTES) {
        std::vector<HWND> boxes;
        EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&boxes));
        for (auto it = answered.begin(); it != answered.end();) {
            it = IsWindow(*it) ? std::next(it) : answered.erase(it);
        }
        for (HWND box : boxes) {
            if (answered.count(box)) {
                continue;
            }
            std::string line = Hex(WindowText(box)) + "\t" + IconKind(box) + "\t" +
                               Hex(WindowText(GetDlgItem(box, kTextId))) + "\n";
            Append(log_path, line);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            answered.insert(box);
        }
        Sleep(kPollMs);
    }
    return 0;
}

int CloseStatusWindow(int delay_ms) {
    for (int waited = 0; waited < 20000; waited += kPollMs) {
        if (HWND status = FindWindowA("Numrak", nullptr)) {
            Sleep(delay_ms);
            PostMessageA(status, WM_CLOSE, 0, 0);
            return 0;
        }
        Sleep(kPollMs);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && lstrcmpA(argv[1], "--close-status") == 0) {
        return CloseStatusWindow(atoi(argv[2]));
    }
    if (argc == 3) {
        return RecordBoxes(argv[1], argv[2]);
    }
    return 2;
}
