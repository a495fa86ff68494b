// The factory of Tarnell adapters: reads one controller's records through the
// C API in a fixed order, decodes them (TarnellAdapterDecode), constructs the
// adapter with its channels and hands it to the physical and logical device
// builds.

#include <cstring>
#include <memory>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapterDecode.h"
#include "RaidModel/Implementation/Tarnell/TarnellSCSIChannel.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "storagedll/storintf.h"

namespace {

// The fixed limits of every Tarnell adapter.
const int BUILD_MAX_LOGICAL_DRIVES = 8;
const int BUILD_MAX_ARRAYS = 2;
const int BUILD_MAX_SPANNED_ARRAYS = 3;
const int BUILD_MAX_CHANNELS = 4;
const int BUILD_MAX_TARGET_ID = 15;
const int BUILD_MAX_DEVICES_PER_ARRAY = 16;
const int BUILD_MAX_CONTROLLERS = 16;
const int BUILD_MAX_CONFIGURED_DRIVES = 0;
const int BUILD_MAX_GLOBAL_SPARES = 64;
const int BUILD_MAX_ASSIGNED_SPARES_PER_ARRAY = 0;

// The enquiry command that reads the battery-backed cache state and its two
// serial numbers, and the arguments the C API takes with it.
const uint8_t ENQUIRY_OPCODE = 0x05;
const uint8_t ENQUIRY_BYTE3 = 0x60;
const uint32_t ENQUIRY_COMMAND_SIZE = 16;
const uint32_t ENQUIRY_TIMEOUT = 60;
const uint32_t ENQUIRY_FLAGS = 1;

// The controller serial number kept in serialNumString: at most 16 characters.
const size_t SERIAL_TEXT_MAX = 16;

bool failed(const S_Ret& sret) { return sret.iReturnCode != 0; }

// The answer of the enquiry command.
struct EnquiryAnswer {
    uint8_t bytes[TarnellDecode::BBC_ANSWER_SIZE];
};

// Sends the enquiry command; on success copies the enquiry record and the
// cache serial numbers out of its answer. A failed command leaves both as
// they were.
void readBatteryCache(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID& address, _ENQUIRY& enquiry,
                      TarnellDecode::CacheSerials& serials)
{
    std::unique_ptr<EnquiryAnswer> answer(new EnquiryAnswer());
    uint8_t command[ENQUIRY_COMMAND_SIZE] = {};
    command[0] = ENQUIRY_OPCODE;
    command[3] = ENQUIRY_BYTE3;
    uint32_t transferred = 0;
    S_Ret sret = store->ExecAdapterCmnd(address, command, ENQUIRY_COMMAND_SIZE, transferred, transferred,
                                        transferred, answer->bytes, sizeof answer->bytes, nullptr, 0, nullptr, 0,
                                        ENQUIRY_TIMEOUT, ENQUIRY_FLAGS, 1, 0);
    if (failed(sret))
        return;
    static_assert(sizeof(_ENQUIRY) <= TarnellDecode::BBC_SERIAL_CONFIGURED_OFFSET, "the record leads the answer");
    std::memcpy(&enquiry, answer->bytes, sizeof enquiry);
    serials = TarnellDecode::cacheSerials(answer->bytes);
}

} // namespace

TarnellAdapter* TarnellAdapter::build(_STORAGE_ADDRESS_ID& addressIN)
{
    using namespace TarnellDecode;

    StoreDLLIntf* store = DllP::GetDLLPointer();
    if (!store)
        return nullptr;
    const _STORAGE_ADDRESS_ID address = addressIN;

    _RAID_ADAPTER_INFO info;
    std::memset(&info, 0, sizeof info);
    if (failed(store->RaidAdapterInfo(address, info))) {
        TarnellUtils::logMessage(FATAL_INFO, "Retrieving adapter information failed");
        return nullptr;
    }

    _STORAGE_ADAPTER_STATUS status;
    std::memset(&status, 0, sizeof status);
    if (failed(store->AdapterStatus(address, status))) {
        TarnellUtils::logMessage(FATAL_INFO, "Retrieving adapter status failed");
        return nullptr;
    }

    char biosVersion[VERSION_TEXT_SIZE];
    char firmwareVersion[VERSION_TEXT_SIZE];
    char driverVersion[VERSION_TEXT_SIZE] = {};
    versionText(info.sAdapInfo.usAdapBIOSVers, biosVersion);
    versionText(info.sAdapInfo.usAdapFirmVers, firmwareVersion);
    _STORAGE_VERSION driver;
    std::memset(&driver, 0, sizeof driver);
    if (store->GetDeviceDriverVersion(address, driver) == 0)
        versionText(driver, driverVersion);

    const EnumControllerStatus controllerState = controllerStatus(status.iAdapStatus);

    _ADAPTER_CONFIG config;
    std::memset(&config, 0, sizeof config);
    uint32_t configLength = 0;
    if (failed(store->GetAdapterRaidConfig(address, &config, ADAPTER_CONFIG_SIZE, configLength, 0))) {
        TarnellUtils::logMessage(FATAL_INFO, "Retrieving adapter raid configuration failed");
        return nullptr;
    }

    ConfigSettings settings;
    std::string clusterPartner;
    if (configLength != 0) {
        settings = configSettings(config);
        uint8_t partner[CLUSTER_PARTNER_ID_SIZE] = {};
        if (!failed(store->GetClusterPartnerId(address, reinterpret_cast<char*>(partner))))
            clusterPartner = TarnellDecode::clusterPartnerID(partner);
    }

    _ADAPTER_FEATURES featureLevels;
    std::memset(&featureLevels, 0, sizeof featureLevels);
    if (failed(store->GetSupportedFeatures(address, &featureLevels))) {
        TarnellUtils::logMessage(FATAL_INFO, "Retrieving adapter's supported features failed");
        return nullptr;
    }

    // Nothing is allocated before this point, so the failures above leave
    // nothing behind; what is made from here on is owned until the adapter
    // is handed out, so that a failed allocation leaves nothing either.
    std::unique_ptr<TarnellAdapterFeatures> newFeatures(new TarnellAdapterFeatures);
    capabilityTable(featureLevels, *newFeatures);
    const bool autoSync = TarnellDecode::autoSynchronization(featureLevels);

    _ENQUIRY enquiry;
    std::memset(&enquiry, 0, sizeof enquiry);
    CacheSerials serials;
    if (batteryCacheSupported(featureLevels))
        readBatteryCache(store, address, enquiry, serials);
    const BatteryCacheState cache = batteryCache(enquiry);

    uint32_t versionMatching = 0;
    if (failed(store->CheckCodeVersions(address, versionMatching))) {
        TarnellUtils::logMessage(WARNING_INFO, "Adapter version match check failed");
        versionMatching = 0;
    }

    std::unique_ptr<AdapterVPDInfo> newVpd;
    std::string serialText;
    if (productDataSupported(featureLevels)) {
        newVpd.reset(new AdapterVPDInfo);
        std::unique_ptr<_HostVpdData> vpd(new _HostVpdData);
        std::memset(vpd.get(), 0, sizeof(_HostVpdData));
        if (!failed(store->GetAdapterFruData(address, *vpd))) {
            *newVpd = productData(*vpd);
            serialText = serialNumber(*vpd);
        }
    }

    std::unique_ptr<ExtendedBatteryInfo> newBattery;
    if (extendedBatterySupported(featureLevels)) {
        newBattery.reset(new ExtendedBatteryInfo);
        _ENQUIRY_EXTENDED_BATTERY_STATUS battery;
        std::memset(&battery, 0, sizeof battery);
        if (!failed(store->GetExtendedBatteryData(address, battery)))
            *newBattery = extendedBattery(battery);
    }

    const int modelID = getUniqueID(address.usAdapterID);

    // The adapter takes over the capability table and the two records once
    // it is made.
    OwnedSubtree<TarnellAdapter> adapter(new TarnellAdapter(
        static_cast<int>(info.sAdapInfo.sAdapType.ulImplementation), modelID, address.usAdapterID, controllerState,
        biosVersion, firmwareVersion, driverVersion, info.sAdapInfo.usAdapLocNum, cache.installed,
        settings.bbcSize, cache.errorCode, settings.readAhead, settings.adaptiveReadAhead, settings.stripeUnitSize,
        settings.rebuildRate, settings.hotSwapRebuild, settings.copyBack, settings.dataScrubbing, autoSync,
        settings.clustering, settings.limitedBIOSCompatibility, settings.unattended, status.iAdapState,
        versionMatching, newVpd.get(), newBattery.get(), settings.hostID, clusterPartner,
        serials.installed, serials.configured, BUILD_MAX_LOGICAL_DRIVES, BUILD_MAX_ARRAYS, BUILD_MAX_SPANNED_ARRAYS, BUILD_MAX_CHANNELS,
        BUILD_MAX_TARGET_ID, BUILD_MAX_DEVICES_PER_ARRAY, BUILD_MAX_CONTROLLERS, BUILD_MAX_CONFIGURED_DRIVES, BUILD_MAX_GLOBAL_SPARES,
        BUILD_MAX_ASSIGNED_SPARES_PER_ARRAY, featureLevels, newFeatures.get()));
    newFeatures.release();
    newVpd.release();
    newBattery.release();

    std::memset(adapter->serialNumString, 0, sizeof adapter->serialNumString);
    std::strncpy(adapter->serialNumString, serialText.c_str(), SERIAL_TEXT_MAX);
    adapter->batStatus = batteryStatus(cache.installed, cache.errorCode);
    adapter->pciVendorID = TARNELL_PCI_VENDOR_ID;
    adapter->pciDeviceID = TARNELL_PCI_DEVICE_ID;

    if (configLength != 0) {
        for (unsigned i = 0; i < info.sAdapInfo.usAdapChanCount && i < ACONFIG_CHANNELS; ++i) {
            const ChannelSettings channel = channelSettings(config.ucInitId[i]);
            adapter->addChild(
                new TarnellSCSIChannel(adapter.get(), static_cast<int>(i), channel.initiatorID, channel.speed));
        }
    }

    if (buildPhysicalDevices(adapter.get()) != Ret(0))
        return adapter.release();
    buildLogicalDevices(adapter.get());
    return adapter.release();
}
