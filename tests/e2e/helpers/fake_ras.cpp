// A stand-in for the remote-access library, built as rasapi32.dll (names with
// the A suffix) and as rnaph.dll (names without it), see the .def files.
//
// Its world is ras.txt beside it, which the test writes and the library
// keeps up to date, one record per line:
//   entry NAME ok MS        dials connect 300 ms after the dial, and drop MS later
//   entry NAME fail CODE    dials report CODE through the notifier 300 ms after the dial
//   entry NAME refuse CODE  dials are refused at once with CODE
//   connection HANDLE STATE NAME
//   text CODE WORDS...      the error text of CODE
// Each dial and hang-up is noted in ras.log beside it.
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

HINSTANCE self;
CRITICAL_SECTION lock;  // the dial's thread and the caller's share ras.txt

std::string Beside(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(self, path, sizeof path);
    const std::string module(path, length);
    return module.substr(0, module.find_last_of('\\') + 1) + name;
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
};

std::vector<Connection> Connections() {
    std::vector<Connection> connections;
    for (const std::string& record : ReadRecords()) {
        std::istringstream fields(record);
        std::string kind;
        Connection connection;
        if (fields >> kind >> connection.handle >> connection.state >> connection.name &&
            kind == "connection") {
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
    SetConnection(dial->handle, connects ? "connection " + std::to_string(dial->handle) + " " +
                                               std::to_string(RASCS_Connected) + " " + dial->name
                                         : "");
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
        self = instance;
        InitializeCriticalSection(&lock);
    }
    return TRUE;
}

DWORD WINAPI FakeEnumConnections(RASCONNA* records, DWORD* byteSize, DWORD* count) {
    Locked locked;
    if (records[0].dwSize != sizeof(RASCONNA)) {
        return ERROR_INVALID_SIZE;
    }
    const std::vector<Connection> connections = Connections();
    const DWORD needed = connections.size() * sizeof(RASCONNA);
    if (needed > *byteSize) {
        *byteSize = needed;
        return ERROR_BUFFER_TOO_SMALL;
    }
    for (std::size_t index = 0; index < connections.size(); ++index) {
        records[index].hrasconn = reinterpret_cast<HRASCONN>(connections[index].handle);
        lstrcpynA(records[index].szEntryName, connections[index].name.c_str(),
                  RAS_MaxEntryName + 1);
    }
    *count = connections.size();
    return 0;
}

DWORD WINAPI FakeGetConnectStatus(HRASCONN handle, RASCONNSTATUSA* status) {
    Locked locked;
    if (status->dwSize != sizeof(RASCONNSTATUSA)) {
        return ERROR_INVALID_SIZE;
    }
    for (const Connection& connection : Connections()) {
        if (connection.handle == reinterpret_cast<ULONG_PTR>(handle)) {
            status->rasconnstate = static_cast<RASCONNSTATE>(connection.state);
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
    if (parameters->dwSize != sizeof(RASDIALPARAMSA)) {
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
    if (parameters->dwSize != sizeof(RASDIALPARAMSA) || notifierType != 0 || !notifier ||
        !FindRecord("entry", parameters->szEntryName, rest) ||
        lstrcmpA(parameters->szUserName, "utilisateur") != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    std::istringstream fields(rest);
    std::string outcome;
    DWORD value = 0;
    fields >> outcome >> value;
    Note(std::string("dial ") + parameters->szEntryName);
    if (outcome == "refuse") {
        return value;
    }
    static ULONG_PTR nextHandle = 0x100;
    const ULONG_PTR dialled = nextHandle++;
    SetConnection(dialled, "connection " + std::to_string(dialled) + " " +
                               std::to_string(RASCS_OpenPort) + " " + parameters->szEntryName);
    *handle = reinterpret_cast<HRASCONN>(dialled);
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
