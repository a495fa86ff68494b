// The controller's own event logs (device, soft, hard, bad-stripe and
// dead-drive): read one into the caller's buffer as a short text document,
// or erase one.
//
// The document is
//   <eventLog controllerID=ID logType=T entriesCount=NNNN>\n<![CDATA[\n
//   one line of eight upper-case hex digits per entry
//   ]]>\n</eventlog>
// (attribute values unquoted, closing tag spelled as shown), or
// "<eventlog/>" for a log without entries. Callers parse it in this form.

#include <cstdio>
#include <cstring>
#include <string>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "storagedll/storintf.h"

namespace {

// The C-API read code of a log type; 0 for a type the controller has no
// log of.
uint8_t logReadCode(EnumLogTypeRequest logType)
{
    switch (logType) {
    case LOG_DEVICE:
        return EVENT_LOG_CODE_DEVICE;
    case LOG_SOFT:
        return EVENT_LOG_CODE_SOFT;
    case LOG_HARD:
        return EVENT_LOG_CODE_HARD;
    case LOG_BAD_STRIPE:
        return EVENT_LOG_CODE_BAD_STRIPE;
    case LOG_DEAD_DRIVE:
        return EVENT_LOG_CODE_DEAD_DRIVE;
    default:
        return 0;
    }
}

const char EMPTY_LOG[] = "<eventlog/>";
const unsigned long EMPTY_LOG_SIZE = sizeof(EMPTY_LOG);   // with its terminator
const char COUNT_PLACEHOLDER[] = "0000";
const long LINE_LENGTH = 9;                                // eight hex digits and a line break
const long RETRY_LINES_ROOM = 1024 * LINE_LENGTH;

} // namespace

Ret TarnellAdapter::getControllerLog(EnumLogTypeRequest logTypeIN, char* pBufferOUT, unsigned long& buffSizeINOUT)
{
    if (pBufferOUT == nullptr || buffSizeINOUT == 0)
        return Ret(Ret::BAD_PARAM);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !tarnellAdapterAddress(this, address))
        return Ret(Ret::CONTROLLER_FAILED);
    const uint8_t readCode = logReadCode(logTypeIN);
    if (readCode == 0)
        return Ret(Ret::NOT_SUPPORTED);

    _ADAPTER_EVENT_LOG log;
    std::memset(&log, 0, sizeof log);
    uint32_t returned = 0;
    S_Ret sret = store->GetAdapterEventLog(address, &log, ADAPTER_EVENT_LOG_SIZE, readCode, returned);
    if (sret.iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving adapter's event log failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    std::string opening = "<eventLog controllerID=" + std::to_string(getAdapterID()) +
                          " logType=" + std::to_string(static_cast<int>(logTypeIN)) + " entriesCount=";
    const size_t countAt = opening.size();
    opening += COUNT_PLACEHOLDER;
    opening += ">\n<![CDATA[\n";
    const std::string closing = "]]>\n</eventlog>";

    // The device log holds one entry per target id of every channel; its own
    // count bytes are not used.
    uint32_t entries;
    if (logTypeIN == LOG_DEVICE) {
        FilterCollection channels(this);
        channels.apply("TarnellSCSIChannel", false);
        entries = static_cast<uint32_t>(16 * channels.size());
    } else {
        entries = log.getEntryCount();
    }

    if (entries == 0) {
        const bool fits = EMPTY_LOG_SIZE <= buffSizeINOUT;
        buffSizeINOUT = EMPTY_LOG_SIZE;
        if (!fits)
            return Ret(Ret::BAD_PARAM);
        std::memcpy(pBufferOUT, EMPTY_LOG, EMPTY_LOG_SIZE);
        return Ret(Ret::SUCCESS);
    }

    // Computed signed and wide: a small caller size must not wrap around.
    const long long frame = static_cast<long long>(opening.size() + closing.size());
    const long long room = static_cast<long long>(buffSizeINOUT) - frame - 1;
    if (room <= 0) {
        buffSizeINOUT = static_cast<unsigned long>(frame + RETRY_LINES_ROOM);
        return Ret(Ret::BAD_PARAM);
    }
    long long lines = room / LINE_LENGTH;
    if (lines > entries)
        lines = entries;
    if (lines > static_cast<long long>(ADAPTER_EVENT_LOG_MAX_ENTRIES))
        lines = ADAPTER_EVENT_LOG_MAX_ENTRIES;

    std::string text;
    text.reserve(static_cast<size_t>(frame + lines * LINE_LENGTH));
    char count[8];
    std::snprintf(count, sizeof count, "%04d", static_cast<int>(lines));
    opening.replace(countAt, std::strlen(COUNT_PLACEHOLDER), count);
    text += opening;
    for (long long i = 0; i < lines; ++i) {
        const uint8_t* e = log.ucEntry[i];
        char line[16];
        std::snprintf(line, sizeof line, "%02X%02X%02X%02X\n", e[0], e[1], e[2], e[3]);
        text += line;
    }
    text += closing;

    std::memset(pBufferOUT, 0, buffSizeINOUT);
    std::memcpy(pBufferOUT, text.c_str(), text.size() + 1);
    buffSizeINOUT = static_cast<unsigned long>(text.size());
    return Ret(Ret::SUCCESS);
}

Ret TarnellAdapter::clearControllerLog(EnumLogTypeRequest logTypeIN)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !tarnellAdapterAddress(this, address))
        return Ret(Ret::CONTROLLER_FAILED);
    const uint8_t readCode = logReadCode(logTypeIN);
    if (readCode == 0)
        return Ret(Ret::NOT_SUPPORTED);
    S_Ret sret = store->EraseAdapterEventLog(address, static_cast<uint8_t>(readCode + EVENT_LOG_ERASE_OFFSET));
    if (sret.iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Erasing adapter's event log failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}
