#pragma once
// The remote-access records in the first layout that each family of the
// remote-access libraries knew. Every later version still accepts these
// sizes, while a record of a newer layout is refused by an older library.
//
// 32-bit: the layout of the first libraries, on both families of Windows
//   (RASCONN 412 bytes, RASCONNSTATUS 160, RASDIALPARAMS 1052, RASENTRYNAME 264).
// 64-bit: the layout of the first 64-bit Windows, whose libraries are the
//   oldest a 64-bit program can meet.
#include <windows.h>
// ras.h needs windows.h first.
#include <lmcons.h>
#include <ras.h>

namespace skervo::platform {

#pragma pack(push, 4)  // as the platform's own headers pack them

struct RasConnRecord {
    DWORD dwSize;
    HRASCONN hrasconn;
    CHAR szEntryName[RAS_MaxEntryName + 1];
    CHAR szDeviceType[RAS_MaxDeviceType + 1];
    CHAR szDeviceName[RAS_MaxDeviceName + 1];
#ifdef _WIN64
    CHAR szPhonebook[MAX_PATH];
    DWORD dwSubEntry;
    GUID guidEntry;
    DWORD dwFlags;
    LUID luid;
#endif
};

struct RasConnStatusRecord {
    DWORD dwSize;
    RASCONNSTATE rasconnstate;
    DWORD dwError;
    CHAR szDeviceType[RAS_MaxDeviceType + 1];
    CHAR szDeviceName[RAS_MaxDeviceName + 1];
#ifdef _WIN64
    CHAR szPhoneNumber[RAS_MaxPhoneNumber + 1];
#endif
};

struct RasDialParamsRecord {
    DWORD dwSize;
    CHAR szEntryName[RAS_MaxEntryName + 1];
    CHAR szPhoneNumber[RAS_MaxPhoneNumber + 1];
    CHAR szCallbackNumber[RAS_MaxCallbackNumber + 1];
    CHAR szUserName[UNLEN + 1];
    CHAR szPassword[PWLEN + 1];
    CHAR szDomain[DNLEN + 1];
#ifdef _WIN64
    DWORD dwSubEntry;
    ULONG_PTR dwCallbackId;
#endif
};

struct RasEntryNameRecord {
    DWORD dwSize;
    CHAR szEntryName[RAS_MaxEntryName + 1];
#ifdef _WIN64
    DWORD dwFlags;
    CHAR szPhonebookPath[MAX_PATH + 1];
#endif
};

#pragma pack(pop)

#ifdef _WIN64
static_assert(sizeof(RasConnRecord) == 708);
static_assert(sizeof(RasConnStatusRecord) == 288);
static_assert(sizeof(RasDialParamsRecord) == 1064);
static_assert(sizeof(RasEntryNameRecord) == 532);
#else
static_assert(sizeof(RasConnRecord) == 412);
static_assert(sizeof(RasConnStatusRecord) == 160);
static_assert(sizeof(RasDialParamsRecord) == 1052);
static_assert(sizeof(RasEntryNameRecord) == 264);
#endif

}  // namespace skervo::platform
