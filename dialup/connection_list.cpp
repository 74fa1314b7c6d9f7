#include "dialup/connection_list.h"

#include "dialup/ras_functions.h"

namespace skervo {

ConnectionList EnumerateConnections() {
    std::vector<platform::RasConnection> records(kConnectionRecords);
    std::uint32_t recordCount = 0;
    ConnectionList list;
    list.code = RasEnumConnections(records, recordCount);
    while (list.code == kRasBufferTooSmall && records.size() < kMostConnectionRecords) {
        records.resize(records.size() * 2);
        list.code = RasEnumConnections(records, recordCount);
    }
    if (list.code == 0) {
        // The platform never reports more records than it was given; the bound guards anyway.
        for (std::size_t index = 0; index < recordCount && index < records.size(); ++index) {
            list.handles.push_back(records[index].handle);
        }
    }
    return list;
}

}  // namespace skervo
