// A stand-in for the remote-access library, built as rasapi32.dll (names with
// the A suffix) and as rnaph.dll (names without it), see the .def files.
//
// It lives in the system folder, as the real one does, and finds its world
// beside the program that loaded it: ras.txt, which the test writes and the
// library keeps up to date, one record per line:
//   entry NAME ok MS        dials connect 300 ms after the dial, and drop MS later
//   entry NAME fail CODE    dials report CODE through the notifier 300 ms after the dial
//   entry NAME refuse CODE  dials are refused at once with CODE, the port held all the same
//   connection HANDLE STATE NAME [ERROR]  a failed one holds its port until it is hung up
//   text CODE WORDS...      the error text of CODE
// Each dial and hang-up is noted in ras.log, and where the library was loaded
// from in loaded.log.
#include <windows.h>
// ras.h needs windows.h first.
#include <ras.h>
#include <raserror.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDialDelayMs = 300;

// The record sizes the program must give: for 32-bit programs the first
// layout of the remote-access records, which every Windows accepts; for
// 64-bit ones that of the first 64-bit Windows. Written out, not taken from
// a header: the program's own header could be wrong the same way.
#ifdef _WIN64
constexpr DWORD kConnSize = 708, kStatusSize = 288, kDialParamsSize = 1064;
#else
constexpr DWORD kConnSize = 412, kStatusSize = 160, kDialParamsSize = 1052;
#endif

CRITICAL_SECTION lock;  // the dial's thread and the caller's share ras.txt

std::string ModulePath(HINSTANCE module) {
    char path[MAX_PATH];
    return std::string(path, GetModuleFileNameA(module, path, sizeof path));
}

std::string Beside(const char* name) {
    const std::string program = ModulePath(nullptr);
    return program.substr(0, program.find_last_of('\\') + 1) + name;
}

std::vector<std::string> ReadRecords() {
    std::vector<std::string> records;
    std::ifstream file(Beside("ras.txt"));
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        records.push_back(line);
    }
    return records;
}

void WriteRecords(const std::vector<std::string>& records) {
    std::ofstream file(Beside("ras.txt"), std::ios::trunc);
    for (const std::string& record : records) {
        file << record << "\n";
    }
}

void Note(const std::string& line) {
    std::ofstream(Beside("ras.log"), std::ios::app) << line << "\n";
}

struct Connection {
    ULONG_PTR handle = 0;
    DWORD state = 0;
    std::string name;
    DWORD error = 0;
};

std::string Record(ULONG_PTR handle, DWORD state, const std::string& name, DWORD error = 0) {
    return "connection " + std::to_string(handle) + " " + std::to_string(state) + " " + name + " " +
           std::to_string(error);
}

std::vector<Connection> Connections() {
    std::vector<Connection> connections;
    for (const std::string& record : ReadRecords()) {
        std::istringstream fields(record);
        std::string kind;
        Connection connection;
        if (fields >> kind >> connection.handle >> connection.state >> connection.name &&
            kind == "connection") {
            fields >> connection.error;
            connections.push_back(connection);
        }
    }
    return connections;
}

// The words after "KIND KEY" in the first record that begins so.
bool FindRecord(const std::string& kind, const std::string& key, std::string& rest) {
    for (const std::string& record : ReadRecords()) {
        const std::string start = kind + " " + key + " ";
        if (record.compare(0, start.size(), start) == 0) {
            rest = record.substr(start.size());
            return true;
        }
    }
    return false;
}

// Replaces the record of a connection (removes it for an empty line).
void SetConnection(ULONG_PTR handle, const std::string& line) {
    std::vector<std::string> records;
    for (const std::string& record : ReadRecords()) {
        std::istringstream fields(record);
        std::string kind;
        ULONG_PTR found = 0;
        if (fields >> kind >> found && kind == "connection" && found == handle) {
            continue;
        }
        records.push_back(record);
    }
    if (!line.empty()) {
        records.push_back(line);
    }
    WriteRecords(records);
}

struct Dial {
    ULONG_PTR handle;
    std::string name;
    std::string outcome;
    DWORD value;
    RASDIALFUNC notifier;
};

DWORD WINAPI RunDial(LPVOID parameter) {
    const Dial* dial = static_cast<Dial*>(parameter);
    Sleep(kDialDelayMs);
    const bool connects = dial->outcome == "ok";
    EnterCriticalSection(&lock);
    SetConnection(dial->handle,
                  connects ? Record(dial->handle, RASCS_Connected, dial->name)
                           : Record(dial->handle, RASCS_Disconnected, dial->name, dial->value));
    LeaveCriticalSection(&lock);
    dial->notifier(WM_RASDIALEVENT, connects ? RASCS_Connected : RASCS_Disconnected,
                   connects ? 0 : dial->value);
    if (connects) {
        Sleep(dial->value);
        EnterCriticalSection(&lock);
        SetConnection(dial->handle, "");
        LeaveCriticalSection(&lock);
    }
    delete dial;
    return 0;
}

// Holds the lock for the life of a call from the program.
struct Locked {
    Locked() { EnterCriticalSection(&lock); }
    ~Locked() { LeaveCriticalSection(&lock); }
};

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&lock);
        std::ofstream(Beside("loaded.log"), std::ios::app) << ModulePath(instance) << "\n";
    }
    return TRUE;
}

DWORD WINAPI FakeEnumConnections(RASCONNA* records, DWORD* byteSize, DWORD* count) {
    Locked locked;
    if (records[0].dwSize != kConnSize) {
        return ERROR_INVALID_SIZE;
    }
    const std::vector<Connection> connections = Connections();
    const DWORD needed = connections.size() * kConnSize;
    if (needed > *byteSize) {
        *byteSize = needed;
        return ERROR_BUFFER_TOO_SMALL;
    }
    // The records follow each other at the size the program gave; the fields
    // written here lie at the same places in every layout.
    for (std::size_t index = 0; index < connections.size(); ++index) {
        auto* record =
            reinterpret_cast<RASCONNA*>(reinterpret_cast<BYTE*>(records) + index * kConnSize);
        record->hrasconn = reinterpret_cast<HRASCONN>(connections[index].handle);
        lstrcpynA(record->szEntryName, connections[index].name.c_str(), RAS_MaxEntryName + 1);
    }
    *count = connections.size();
    return 0;
}

DWORD WINAPI FakeGetConnectStatus(HRASCONN handle, RASCONNSTATUSA* status) {
    Locked locked;
    if (status->dwSize != kStatusSize) {
        return ERROR_INVALID_SIZE;
    }
    for (const Connection& connection : Connections()) {
        if (connection.handle == reinterpret_cast<ULONG_PTR>(handle)) {
            status->rasconnstate = static_cast<RASCONNSTATE>(connection.state);
            status->dwError = connection.error;
            return 0;
        }
    }
    return ERROR_INVALID_HANDLE;
}

DWORD WINAPI FakeHangUp(HRASCONN handle) {
    Locked locked;
    for (const Connection& connection : Connections()) {
        if (connection.handle == reinterpret_cast<ULONG_PTR>(handle)) {
            SetConnection(connection.handle, "");
            Note("hangup " + connection.name);
            return 0;
        }
    }
    return ERROR_INVALID_HANDLE;
}

DWORD WINAPI FakeGetEntryDialParams(LPCSTR, RASDIALPARAMSA* parameters, BOOL* passwordStored) {
    Locked locked;
    std::string rest;
    if (parameters->dwSize != kDialParamsSize) {
        return ERROR_INVALID_SIZE;
    }
    if (!FindRecord("entry", parameters->szEntryName, rest)) {
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    }
    lstrcpyA(parameters->szUserName, "utilisateur");
    *passwordStored = TRUE;
    return 0;
}

DWORD WINAPI FakeDial(RASDIALEXTENSIONS*, LPCSTR, RASDIALPARAMSA* parameters, DWORD notifierType,
                      LPVOID notifier, HRASCONN* handle) {
    Locked locked;
    std::string rest;
    if (parameters->dwSize != kDialParamsSize || notifierType != 0 || !notifier ||
        !FindRecord("entry", parameters->szEntryName, rest) ||
        lstrcmpA(parameters->szUserName, "utilisateur") != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    std::istringstream fields(rest);
    std::string outcome;
    DWORD value = 0;
    fields >> outcome >> value;
    Note(std::string("dial ") + parameters->szEntryName);
    static ULONG_PTR nextHandle = 0x100;
    const ULONG_PTR dialled = nextHandle++;
    const DWORD refusal = outcome == "refuse" ? value : 0;
    SetConnection(dialled, Record(dialled, RASCS_OpenPort, parameters->szEntryName, refusal));
    *handle = reinterpret_cast<HRASCONN>(dialled);
    if (refusal != 0) {
        return refusal;
    }
    auto* dial = new Dial{dialled, parameters->szEntryName, outcome, value,
                          reinterpret_cast<RASDIALFUNC>(notifier)};
    CloseHandle(CreateThread(nullptr, 0, RunDial, dial, 0, nullptr));
    return 0;
}

DWORD WINAPI FakeGetErrorString(UINT code, LPSTR text, DWORD size) {
    Locked locked;
    std::string found;
    if (!FindRecord("text", std::to_string(code), found)) {
        return ERROR_INVALID_PARAMETER;
    }
    lstrcpynA(text, found.c_str(), size);
    return 0;
}

}  // extern "C"
