// Calls of the remote-access functions that the program binds by name, with
// the records in the platform's own layout.
#include "platform/dialup.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform/win32/native.h"
#include "platform/win32/ras_records.h"

static_assert(skervo::platform::kRasCsConnected == RASCS_Connected);
static_assert(skervo::platform::kRasCsDisconnected == RASCS_Disconnected);
static_assert(skervo::platform::kRasMaxEntryName == RAS_MaxEntryName);

namespace skervo::platform {
namespace {

// Copies at most the field's size less its terminator: a longer text is cut, never overrun.
template <std::size_t Size>
void CopyInto(CHAR (&field)[Size], const std::string& text) {
    const std::size_t length = std::min(text.size(), Size - 1);
    std::copy_n(text.data(), length, field);
    field[length] = '\0';
}

RasDialParamsRecord ToRecord(const RasDialParameters& parameters) {
    RasDialParamsRecord native{};
    native.dwSize = sizeof native;
    CopyInto(native.szEntryName, parameters.entryName);
    CopyInto(native.szPhoneNumber, parameters.phoneNumber);
    CopyInto(native.szCallbackNumber, parameters.callbackNumber);
    CopyInto(native.szUserName, parameters.userName);
    CopyInto(native.szPassword, parameters.password);
    CopyInto(native.szDomain, parameters.domain);
#ifdef _WIN64
    native.dwSubEntry = parameters.subEntry;
    native.dwCallbackId = parameters.callbackId;
#endif
    return native;
}

// A field's text up to its terminator, or its whole size when the system
// left none.
template <std::size_t Size>
std::string TextOf(const CHAR (&field)[Size]) {
    return std::string(field, strnlen(field, Size));
}

RasDialParameters FromRecord(const RasDialParamsRecord& native) {
    RasDialParameters parameters{TextOf(native.szEntryName),      TextOf(native.szPhoneNumber),
                                 TextOf(native.szCallbackNumber), TextOf(native.szUserName),
                                 TextOf(native.szPassword),       TextOf(native.szDomain)};
#ifdef _WIN64
    parameters.subEntry = native.dwSubEntry;
    parameters.callbackId = native.dwCallbackId;
#endif
    return parameters;
}

// A RasDialFunc has no context argument: the portable notifier waits here.
std::atomic<RasDialNotifier> dialNotifier{nullptr};

VOID WINAPI ForwardDialNotification(UINT message, RASCONNSTATE state, DWORD error) {
    if (const RasDialNotifier notifier = dialNotifier.load()) {
        notifier(message, static_cast<std::uint32_t>(state), error);
    }
}

}  // namespace

std::uint32_t InvokeRasEnumConnections(ProcAddress function, std::span<RasConnection> records,
                                       std::uint32_t& recordCount) {
    using EnumFunction = DWORD(WINAPI*)(RasConnRecord*, DWORD*, DWORD*);
    std::vector<RasConnRecord> native(records.size());
    native.front().dwSize = sizeof(RasConnRecord);
    DWORD byteSize = native.size() * sizeof(RasConnRecord);
    DWORD written = 0;
    const DWORD code = As<EnumFunction>(function)(native.data(), &byteSize, &written);
    recordCount = code == 0 ? std::min<DWORD>(written, native.size()) : 0;
    for (std::uint32_t index = 0; index < recordCount; ++index) {
        records[index].handle = FromNative<RasConnectionHandle>(native[index].hrasconn);
    }
    return code;
}

std::uint32_t InvokeRasGetConnectStatus(ProcAddress function, RasConnectionHandle connection,
                                        RasConnectionStatus& status) {
    using StatusFunction = DWORD(WINAPI*)(HRASCONN, RasConnStatusRecord*);
    RasConnStatusRecord native{};
    native.dwSize = sizeof native;
    const DWORD code = As<StatusFunction>(function)(ToNative(connection), &native);
    status.state = static_cast<std::uint32_t>(native.rasconnstate);
    status.error = native.dwError;
    return code;
}

std::uint32_t InvokeRasHangUp(ProcAddress function, RasConnectionHandle connection) {
    using HangUpFunction = DWORD(WINAPI*)(HRASCONN);
    return As<HangUpFunction>(function)(ToNative(connection));
}

std::uint32_t InvokeRasDial(ProcAddress function, const RasDialParameters& parameters,
                            RasDialNotifier notifier, RasConnectionHandle& connection) {
    using DialFunction =
        DWORD(WINAPI*)(RASDIALEXTENSIONS*, LPCSTR, RasDialParamsRecord*, DWORD, LPVOID, HRASCONN*);
    RasDialParamsRecord native = ToRecord(parameters);
    dialNotifier = notifier;
    HRASCONN handle = nullptr;
    const DWORD code = As<DialFunction>(function)(
        nullptr, nullptr, &native, 0, reinterpret_cast<LPVOID>(&ForwardDialNotification), &handle);
    connection = FromNative<RasConnectionHandle>(handle);
    return code;
}

std::uint32_t InvokeRasGetEntryDialParams(ProcAddress function, RasDialParameters& parameters,
                                          bool& passwordStored) {
    using LookupFunction = DWORD(WINAPI*)(LPCSTR, RasDialParamsRecord*, BOOL*);
    RasDialParamsRecord native{};
    native.dwSize = sizeof native;
    CopyInto(native.szEntryName, parameters.entryName);
    BOOL stored = FALSE;
    const DWORD code = As<LookupFunction>(function)(nullptr, &native, &stored);
    parameters = FromRecord(native);
    passwordStored = stored != FALSE;
    return code;
}

std::uint32_t InvokeRasGetEntryProperties(ProcAddress function, const std::string& entryName) {
    using PropertiesFunction = DWORD(WINAPI*)(LPCSTR, LPCSTR, void*, LPDWORD, LPBYTE, LPDWORD);
    DWORD size = 0;
    return As<PropertiesFunction>(function)(nullptr, entryName.c_str(), nullptr, &size, nullptr,
                                            nullptr);
}

std::uint32_t InvokeRasGetErrorString(ProcAddress function, std::uint32_t error, std::string& text,
                                      std::uint32_t size) {
    using ErrorStringFunction = DWORD(WINAPI*)(UINT, LPSTR, DWORD);
    std::vector<CHAR> buffer(size, '\0');
    const DWORD code = As<ErrorStringFunction>(function)(error, buffer.data(), size);
    buffer.back() = '\0';  // the text is read up to its terminator, which must exist
    text = buffer.data();
    return code;
}

}  // namespace skervo::platform
