#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Serialization/XMLWriter.h"

#if __has_include("RaidModel/Interface/LogicalDriveSpec.h")
#include "RaidModel/Interface/LogicalDriveSpec.h"
#define HAVE_LOGICAL_DRIVE_SPEC 1
#endif

namespace {

// A node that answers the class names of a model class and its bases, so
// that the controller's indexes can be tried before those classes exist.
class Node : public RaidObject {
public:
    explicit Node(std::vector<const char*> names) : names_(std::move(names)) {}
    bool isInstanceOf(const char* className) const override
    {
        for (const char* n : names_)
            if (className && strcmp(className, n) == 0)
                return true;
        return RaidObject::isInstanceOf(className);
    }
    const char* typeName() const override { return names_.front(); }
    const char* serializedName() const override { return names_.front(); }
    Node* add(Node* child)
    {
        addChild(child);
        return child;
    }

private:
    std::vector<const char*> names_;
};

Node* scsiChannel() { return new Node({"SCSIChannel", "Channel"}); }
Node* sasChannel() { return new Node({"SASChannel", "Channel"}); }
Node* sataChannel() { return new Node({"SATAChannel", "Channel"}); }
Node* plainChannel() { return new Node({"Channel"}); }
Node* hardDrive() { return new Node({"HardDrive", "PhysicalDevice"}); }
Node* safteEnclosure() { return new Node({"Enclosure", "PhysicalDevice"}); }
Node* ses2Device() { return new Node({"SES2EnclosureDevice", "PhysicalDevice"}); }
Node* cdromDrive() { return new Node({"CDROMDrive", "PhysicalDevice"}); }
Node* basicLogicalDrive() { return new Node({"BasicLogicalDrive", "LogicalDrive"}); }

// Gives a test access to the fields that the family subclasses fill.
class TestAdapter : public Adapter {
public:
    using Adapter::Adapter;
    using Adapter::features;

    void setWWN(unsigned long index, std::vector<unsigned char> bytes)
    {
        setOnBoardExpandersWWN(index, bytes.data());
    }
    // Gives every field a value that differs from its default.
    void fillAll()
    {
        setAdapterType(FENTA);
        myAddr2.setAdapterID(6);
        adapterStatus = CONTROLLER_STATUS_PASSIVE;
        copyVersion(biosVersion, "bios-1");
        copyVersion(firmwareVersion, "fw-2");
        copyVersion(driverVersion, "drv-3");
        copyVersion(firmwareBootVersion, "boot-4");
        strcpy(stagedVersion, "staged");
        physicalSlot = 5;
        unattended = true;
        for (int l = MAX_LOGICAL_DRIVES; l <= MAX_CONTROLLERS; ++l)
            setLimit(static_cast<Limit>(l), 10 + l);
        maxTopLevelLogicalDrives = 21;
        reservedInBeginning = 22;
        reservedInEnd = 23;
        maxTotalRAIDMembers = 24;
        maxSnapshots = 25;
        maxStripeSize = STRIPE_1M;
        minStripeSize = STRIPE_16K;
        strcpy(deviceVendor, "vendor");
        strcpy(deviceName, "name");
        pciVendorID = 31;
        pciDevice = 32;
        pciDeviceID = 33;
        pciSubVendorID = 34;
        pciSubDeviceID = 35;
        pciBus = 36;
        pciFunction = 37;
        isClustered = true;
        alarmState = ALARM_SOUND;
        batStatus = BATTERY_STATUS_CHARGING;
        batTempWarning = true;
        batReconditionRequired = false;
        batFullCapacity = 41;
        batRemainingCapacity = 42;
        batCurrentDraw = 43;
        buildNum = 44;
        fwBuildNum = 45;
        biosBuildNum = 46;
        driverBuildNum = 47;
        asyncRescanActive = true;
        dataScrubbingActive = true;
        copyBackEnabled = true;
        versionMatchStatus = CODE_VERSION_NO_MATCH;
        maxNumPhy = 51;
        maxSasPorts = 52;
        serialNum[0] = 53;
        serialNum[1] = 54;
        heatSensorTemperature = -55;
        heatSensorThresholdLo = 56;
        heatSensorThresholdHi = 57;
        longSerialNum = 58;
        strcpy(serialNumString, "SN59");
        fwBootBuildNum = 60;
        setWWN(0, {1, 2, 3, 4, 5, 6, 7, 8});
        sasHDCacheMode = HARD_DRIVE_CACHE_MODE_WRITE_BACK;
        sataHDCacheMode = HARD_DRIVE_CACHE_MODE_WRITE_THROUGH;
    }
};

std::string elementOf(const RaidObject& o)
{
    char* text = nullptr;
    {
        XMLWriter w(&text);
        w.writeObject(o);
    }
    std::string s(text);
    delete[] text;
    return s;
}

std::string treeOf(const RaidObject& o)
{
    char* text = nullptr;
    {
        XMLWriter w(&text);
        w.writeTree(o);
    }
    std::string s(text);
    delete[] text;
    return s;
}

} // namespace

TEST(Adapter, ModelCodeGivesLibraryType)
{
    const struct {
        int32_t model;
        EnumStorLibType type;
    } rows[] = {
        {0, STORLIB_UNKNOWN},       {TARNELL_A1, STORLIB_TARNELL}, {VOLSK_1, STORLIB_TARNELL},
        {DRUNE_1, STORLIB_TARNELL}, {TARNELL_F1, STORLIB_TARNELL}, {18, STORLIB_UNKNOWN},
        {31, STORLIB_UNKNOWN},      {TARNELL_FAMILY, STORLIB_TARNELL}, {33, STORLIB_UNKNOWN},
        {256, STORLIB_UNKNOWN},     {SARVO1020, STORLIB_SARVO},    {SARVO1064, STORLIB_SARVO},
        {260, STORLIB_UNKNOWN},     {PELM, STORLIB_PELM},          {MAVRIN, STORLIB_MAVRIN},
        {DWOLK, STORLIB_ORSEL},     {FENTA, STORLIB_VESK},         {TOBRECK, STORLIB_TOBRECK},
        {YUB, STORLIB_YUB},         {GLUNT, STORLIB_GLUNT},        {2049, STORLIB_UNKNOWN},
        {-1, STORLIB_UNKNOWN},
    };
    for (const auto& row : rows) {
        Adapter a;
        a.setAdapterType(static_cast<EnumAdapterType>(row.model));
        EXPECT_EQ(a.getAdapterType(), row.model);
        EXPECT_EQ(a.getStorLibType(), row.type) << row.model;
        Adapter b(row.model, 1, CONTROLLER_STATUS_WORKING, nullptr, nullptr, nullptr, 0, false, 0, 0, 0,
                  0, 0, 0, 0);
        EXPECT_EQ(b.getStorLibType(), row.type) << row.model;
    }
}

TEST(Adapter, ControllerElement)
{
    char bios[] = "B<1>";
    char firmware[] = "F\"2";
    char longDriver[] = "0123456789012345678901234567890123456789";
    TestAdapter a(TARNELL_C1, 2, CONTROLLER_STATUS_FAILED, bios, firmware, longDriver, 4, true, 24, 8,
                  2, 3, 15, 16, -1);
    EXPECT_STREQ(a.getDeviceDriverVersion(), "0123456789012345678901234567890");
    const std::string head =
        "<Controller typeName=\"Adapter\" attachmentType=\"none\" storlibType=\"5\" controllerID=\"2\" "
        "controllerType=\"8\" controllerStatus=\"1\" biosVersion=\"B&lt;1&gt;\" "
        "firmwareVersion=\"F&quot;2\" driverVersion=\"0123456789012345678901234567890\" "
        "firmwareBootVersion=\"\" physicalSlot=\"4\" unattended=\"true\" maxLogicalDrives=\"24\" "
        "maxArrays=\"8\" maxSpannedArrays=\"2\" maxChannels=\"3\" maxID=\"15\" "
        "maxDevicesPerArray=\"16\" maxControllers=\"-1\" buildNum=\"0\" firmwareBuildNum=\"0\" "
        "biosBuildNum=\"0\" driverBuildNum=\"0\" alarmState=\"0\" sasHDCacheMode=\"3\" "
        "sataHDCacheMode=\"3\"";
    EXPECT_EQ(elementOf(a), head + "/>");

    // Only the expanders that are present, in index order, lower-case.
    a.setWWN(1, {0x50, 0x00, 0xD3, 0x1A, 0xBC, 0x00, 0x0F, 0xFF});
    EXPECT_EQ(elementOf(a), head + " onBoardExpanders=\"5000d31abc000fff\"/>");
    a.setWWN(0, {0, 0, 0, 0, 0, 0, 0, 1});
    EXPECT_EQ(elementOf(a), head + " onBoardExpanders=\"0000000000000001,5000d31abc000fff\"/>");
    a.setWWN(1, {0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(elementOf(a), head + " onBoardExpanders=\"0000000000000001\"/>");
    EXPECT_EQ(a.getOnBoardExpandersWWN(2), nullptr);
    a.setWWN(2, {9, 9, 9, 9, 9, 9, 9, 9}); // ignored
    EXPECT_EQ(elementOf(a), head + " onBoardExpanders=\"0000000000000001\"/>");

    // A default controller: no library type or id among the base attributes.
    Adapter d;
    const std::string prefix =
        "<Controller typeName=\"Adapter\" attachmentType=\"none\" controllerType=\"0\" controllerStatus=";
    EXPECT_EQ(elementOf(d).compare(0, prefix.size(), prefix), 0) << elementOf(d);
}

TEST(Adapter, IndexesFileDescendantsByClassAndStampTheControllerIds)
{
    Adapter a(TARNELL_FAMILY, 3, CONTROLLER_STATUS_WORKING, nullptr, nullptr, nullptr, 0, false, 0, 0, 0,
              0, 0, 0, 0);
    EXPECT_EQ(a.getChannel<RaidObject>(0), nullptr);

    // A subtree built first and then added is filed node by node.
    Node* scsi = scsiChannel();
    Node* disk = scsi->add(hardDrive());
    Node* saf = scsi->add(safteEnclosure());
    Node* cdrom = scsi->add(cdromDrive());
    a.addChild(scsi);
    Node* sas = sasChannel();
    a.addChild(sas);
    Node* ses = sas->add(ses2Device());
    Node* connector = sas->add(new Node({"SASConnector"}));
    Node* phy = sas->add(new Node({"SASPhy"}));
    Node* sata = sataChannel();
    a.addChild(sata);
    Node* plain = plainChannel();
    a.addChild(plain);

    Node* array = new Node({"BasicArray", "Array"});
    Node* top = array->add(basicLogicalDrive());
    Node* nested = top->add(new Node({"LogicalDrive"}));
    Node* chunk = nested->add(new Node({"Chunk"}));
    a.addChild(array);
    Node* direct = basicLogicalDrive();
    a.addChild(direct);

    auto list = [](uint32_t n, const std::function<RaidObject*(uint32_t)>& at) {
        std::vector<RaidObject*> v;
        for (uint32_t i = 0; i < n; ++i)
            v.push_back(at(i));
        EXPECT_EQ(at(n), nullptr);
        return v;
    };
    using V = std::vector<RaidObject*>;
    EXPECT_EQ(list(a.getNumChannels(), [&](uint32_t i) { return a.getChannel<RaidObject>(i); }),
              (V{scsi, sas, sata, plain}));
    EXPECT_EQ(list(a.getNumSCSIChannels(), [&](uint32_t i) { return a.getSCSIChannel<RaidObject>(i); }),
              (V{scsi}));
    EXPECT_EQ(list(a.getNumSASChannels(), [&](uint32_t i) { return a.getSASChannel<RaidObject>(i); }),
              (V{sas}));
    EXPECT_EQ(list(a.getNumSATAChannels(), [&](uint32_t i) { return a.getSATAChannel<RaidObject>(i); }),
              (V{sata}));
    EXPECT_EQ(list(a.getNumLogicalDrives(), [&](uint32_t i) { return a.getLogicalDrive<RaidObject>(i); }),
              (V{top, direct}));
    EXPECT_EQ(list(a.getNumLogicals(), [&](uint32_t i) { return a.getLogical<RaidObject>(i); }),
              (V{top, direct}));
    EXPECT_EQ(list(a.getNumPhysicalDevices(), [&](uint32_t i) { return a.getPhysicalDevice<RaidObject>(i); }),
              (V{disk, saf, cdrom, ses}));
    EXPECT_EQ(list(a.getNumDevices(), [&](uint32_t i) { return a.getDevice<RaidObject>(i); }),
              (V{disk, saf, cdrom, ses}));
    EXPECT_EQ(list(a.getNumHardDrives(), [&](uint32_t i) { return a.getHardDrive<RaidObject>(i); }),
              (V{disk}));
    EXPECT_EQ(list(a.getNumDrives(), [&](uint32_t i) { return a.getDrive<RaidObject>(i); }), (V{disk}));
    EXPECT_EQ(list(a.getNumEnclosures(), [&](uint32_t i) { return a.getEnclosure<RaidObject>(i); }),
              (V{saf}));
    EXPECT_EQ(list(a.getNumSES2EnclosureDevices(),
                   [&](uint32_t i) { return a.getSES2EnclosureDevice<RaidObject>(i); }),
              (V{ses}));
    EXPECT_EQ(list(a.getNumSES2Enclosures(), [&](uint32_t i) { return a.getSES2Enclosure<RaidObject>(i); }),
              (V{ses}));
    EXPECT_EQ(list(a.getNumOtherPhysicalDevices(),
                   [&](uint32_t i) { return a.getOtherPhysicalDevice<RaidObject>(i); }),
              (V{cdrom}));
    EXPECT_EQ(list(a.getNumOtherDevices(), [&](uint32_t i) { return a.getOtherDevice<RaidObject>(i); }),
              (V{cdrom}));
    EXPECT_EQ(list(a.getNumSASConnector(), [&](uint32_t i) { return a.getSASConnector<RaidObject>(i); }),
              (V{connector}));

    // Every object below, indexed or not, carries the controller's ids.
    for (Node* n : {scsi, disk, saf, cdrom, sas, ses, connector, phy, sata, plain, array, top, nested,
                    chunk, direct}) {
        EXPECT_EQ(n->getAdapterID(), 3u) << n->typeName();
        EXPECT_EQ(n->getStorLibType(), STORLIB_TARNELL) << n->typeName();
        EXPECT_EQ(n->getChannelID(), STORID_UNDEFINED);
    }
    a.deleteAllChildren();
}

TEST(Adapter, BaseManagementOperationsAnswerMinusOneAndChangeNothing)
{
    TestAdapter a;
    a.fillAll();
    a.features = new AdapterFeatures;
    a.features->setFeature(FeatRaid5, 1);
    Node* channel = scsiChannel();
    a.addChild(channel);
    channel->addChild(hardDrive());
    a.raidLevelSupport.push_back(RaidSupportInfo());

    auto snapshot = [&a]() {
        std::string s = treeOf(a);
        s += std::to_string(a.getNumChannels()) + "/" + std::to_string(a.getNumHardDrives()) + "/" +
             std::to_string(a.getNumPhysicalDevices()) + "/" + std::to_string(a.raidLevelSupport.size());
        for (int32_t f = 0; f < FeatMaxIndex; ++f)
            s += "," + std::to_string(a.getFeature(static_cast<FeatureEnum>(f)));
        for (int l = MAX_LOGICAL_DRIVES; l <= MAX_SIMPLE_VOLUMES_PER_ADAPTER; ++l)
            s += ";" + std::to_string(a.getLimit(static_cast<Limit>(l)));
        s += a.getStagedVersion();
        s += a.getSerialNumString();
        s += std::to_string(a.getLongSerialNum()) + std::to_string(a.IsAsyncRescanActive()) +
             std::to_string(a.IsDataScrubbingActive()) + std::to_string(a.IsCopyBackEnabled()) +
             std::to_string(a.getBatStatus()) + std::to_string(a.getAlarmState());
        return s;
    };
    const std::string before = snapshot();

    Progress progress(TASK_VERIFY, 1, TASK_STATE_IN_PROGRESS, 5);
    const Progress progressBefore = progress;
    ProgressCollection tasks;
    tasks.add(progress);
    std::string text = "kept";
    std::vector<GenericRecord> records;
    StorEventCollection events(0, 1, 0);
    Buffer buffer;
    char log[16] = "log";
    unsigned long logSize = sizeof(log);
    bool paused = true;

    const std::vector<std::pair<const char*, std::function<Ret()>>> operations = {
        {"getProgress(Progress&)", [&] { return a.getProgress(progress); }},
        {"getProgress(ProgressCollection&)", [&] { return a.getProgress(tasks); }},
        {"setDefective", [&] { return a.setDefective(); }},
        {"setAttendanceMode", [&] { return a.setAttendanceMode(false); }},
        {"deleteAllArrays", [&] { return a.deleteAllArrays(); }},
        {"resetAdapterRaidConfig", [&] { return a.resetAdapterRaidConfig(); }},
        {"scanForDrives(false)", [&] { return a.scanForDrives(false); }},
        {"scanForDrives(true)", [&] { return a.scanForDrives(true); }},
        {"abortTask", [&] { return a.abortTask(1); }},
        {"setTaskPriority", [&] { return a.setTaskPriority(1, TASK_PRIORITY_LOW); }},
        {"setBiosMenu", [&] { return a.setBiosMenu(BIOSMENU_OFF); }},
        {"getEvents(text)", [&] { return a.getEvents(text); }},
        {"getEvents(start, text)", [&] { return a.getEvents(0, text); }},
        {"getEvents(start, records)", [&] { return a.getEvents(0, records); }},
        {"getEvents(collection)", [&] { return a.getEvents(events); }},
        {"getEvents(start, collection)", [&] { return a.getEvents(0, events); }},
#ifdef HAVE_LOGICAL_DRIVE_SPEC
        {"createLogicalDrive", [&] { return a.createLogicalDrive(LogicalDriveSpec()); }},
#endif
        {"identifyDevice", [&] { return a.identifyDevice(true); }},
        {"getConfiguration", [&] { return a.getConfiguration(buffer); }},
        {"setConfiguration", [&] { return a.setConfiguration(buffer); }},
        {"getControllerLog", [&] { return a.getControllerLog(LOG_EVENT, log, logSize); }},
        {"clearControllerLog", [&] { return a.clearControllerLog(LOG_EVENT); }},
        {"setDataScrubActive", [&] { return a.setDataScrubActive(false); }},
        {"setDataScrubRate(priority)", [&] { return a.setDataScrubRate(TASK_PRIORITY_LOW); }},
        {"setDataScrubRate(days)", [&] { return a.setDataScrubRate(7ul); }},
        {"pauseResumeIO", [&] { return a.pauseResumeIO(10); }},
        {"testAllSpares", [&] { return a.testAllSpares(); }},
        {"upgradeControllerFirmware", [&] { return a.upgradeControllerFirmware("image", true); }},
        {"startControllerDiagnostic", [&] { return a.startControllerDiagnostic(ADAPTER_DIAG_DEFAULT); }},
        {"setCopyBack", [&] { return a.setCopyBack(false); }},
        {"startBatteryCalibration", [&] { return a.startBatteryCalibration(); }},
        {"setAlarmState", [&] { return a.setAlarmState(ALARM_DISABLED); }},
        {"isPaused", [&] { return a.isPaused(paused); }},
        {"setPhysicalDriveCache",
         [&] { return a.setPhysicalDriveCache(HARD_DRIVE_CACHE_MODE_UNKNOWN, HARD_DRIVE_CACHE_MODE_UNKNOWN); }},
        {"clearPPITable", [&] { return a.clearPPITable(); }},
    };
    for (const auto& op : operations) {
        EXPECT_EQ(op.second().getReturn(), -1) << op.first;
        EXPECT_EQ(snapshot(), before) << op.first;
    }
    EXPECT_EQ(a.getCacheMemory(), 0);
    EXPECT_EQ(a.getInstalledMemory(), 0);

    // Nor do they touch what they were given.
    EXPECT_TRUE(progress == progressBefore);
    ASSERT_EQ(tasks.getProgressCount(), 1);
    EXPECT_TRUE(tasks.getProgress(0) == progressBefore);
    EXPECT_EQ(text, "kept");
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(events.NumEvents(), 0);
    EXPECT_STREQ(log, "log");
    EXPECT_EQ(logSize, sizeof(log));
    EXPECT_TRUE(paused);
    a.deleteAllChildren();
}

namespace {

// A controller family that reports one task.
class TaskAdapter : public Adapter {
public:
    Ret getProgress(Progress& p) override
    {
        p = Progress(TASK_REBUILD, 2, TASK_STATE_IN_PROGRESS, 30);
        return Ret(0);
    }
    using Adapter::getProgress;
};

} // namespace

TEST(Adapter, TasksLimitsAndFeatures)
{
    TaskAdapter family;
    ProgressCollection tasks;
    EXPECT_EQ(family.getProgress(tasks).getReturn(), 0);
    ASSERT_EQ(tasks.getProgressCount(), 1);
    EXPECT_EQ(tasks.getProgress(0).getLogicalDrive(), 2u);

    TestAdapter a;
    a.setLimit(MAX_HOT_SPARES, 4);
    EXPECT_EQ(a.getLimit(MAX_HOT_SPARES), 0);
    a.setLimit(MAX_CHANNELS, 4);
    EXPECT_EQ(a.getLimit(MAX_CHANNELS), 4);
    a.setLimit(static_cast<Limit>(0), 9);
    EXPECT_EQ(a.getLimit(static_cast<Limit>(0)), 0);

    // Without a feature table settings are dropped and every entry reads 0.
    a.setFeature(FeatRaid5, 1);
    EXPECT_EQ(a.getFeature(FeatRaid5), 0);
    a.features = new AdapterFeatures;
    a.setFeature(FeatRaid5, 1);
    a.setFeature(FeatMaxIndex, 1);
    EXPECT_EQ(a.getFeature(FeatRaid5), 1);
    EXPECT_EQ(a.features->getFeature(FeatRaid5), 1);
    EXPECT_EQ(a.getFeature(FeatMaxIndex), 0);
}

TEST(Adapter, DefaultsCopyAndAssignment)
{
    Adapter d;
    EXPECT_EQ(d.getAdapterType(), 0);
    EXPECT_EQ(d.getStorLibType(), STORLIB_UNKNOWN);
    EXPECT_EQ(d.getAdapterID(), STORID_UNDEFINED);
    EXPECT_EQ(d.getBatStatus(), BATTERY_STATUS_UNKNOWN);
    EXPECT_TRUE(d.IsBatReconditionRequired());
    EXPECT_EQ(d.getVersionMatchStatus(), CODE_VERSION_NOT_SUPPORTED);
    EXPECT_EQ(d.getSasHDCacheMode(), HARD_DRIVE_CACHE_MODE_NOT_SUPPORTED);
    EXPECT_EQ(d.getSataHDCacheMode(), HARD_DRIVE_CACHE_MODE_NOT_SUPPORTED);
    EXPECT_STREQ(d.getBiosVersion(), "");
    EXPECT_STREQ(d.getFirmwareBootVersion(), "");

    TestAdapter full;
    full.fillAll();
    full.features = new AdapterFeatures;
    full.addChild(scsiChannel());

    // The copy: a new node with the description, without limits, address,
    // children, indexes or feature table.
    Adapter copy(full);
    EXPECT_EQ(copy.getParent(), nullptr);
    EXPECT_EQ(copy.getNumChildren(), 0u);
    EXPECT_EQ(copy.getNumChannels(), 0u);
    EXPECT_EQ(copy.getAdapterID(), STORID_UNDEFINED);
    EXPECT_EQ(copy.getStorLibType(), STORLIB_UNKNOWN);
    EXPECT_EQ(copy.getAdapterType(), FENTA);
    copy.setFeature(FeatRaid0, 1);
    EXPECT_EQ(copy.getFeature(FeatRaid0), 0);
    for (int l = MAX_LOGICAL_DRIVES; l <= MAX_CONTROLLERS; ++l)
        EXPECT_EQ(copy.getLimit(static_cast<Limit>(l)), 0);
    EXPECT_EQ(copy.getMaxTotalRAIDMembers(), 0);
    EXPECT_EQ(copy.getLongSerialNum(), 0u);
    EXPECT_STREQ(copy.getStagedVersion(), "");
    EXPECT_STREQ(copy.getFirmwareBootVersion(), "");
    EXPECT_EQ(copy.getFwBootBuildNum(), 0u);
    EXPECT_STREQ(copy.getBiosVersion(), "bios-1");
    EXPECT_NE(copy.getBiosVersion(), full.getBiosVersion());
    EXPECT_STREQ(copy.getDeviceVendor(), "vendor");
    EXPECT_STREQ(copy.getSerialNumString(), "SN59");
    EXPECT_EQ(copy.getMaxTopLevelLogicalDrives(), 21);
    EXPECT_EQ(copy.getReservedInEnd(), 23u);
    EXPECT_EQ(copy.getMinStripeSize(), STRIPE_16K);
    EXPECT_EQ(copy.getPCIFunction(), 37u);
    EXPECT_EQ(copy.getBatCurrentDraw(), 43u);
    EXPECT_FALSE(copy.IsBatReconditionRequired());
    EXPECT_EQ(copy.getDriverBuildNum(), 47u);
    EXPECT_TRUE(copy.IsCopyBackEnabled());
    EXPECT_EQ(copy.getSerialNum1(), 54u);
    EXPECT_EQ(copy.getHSTemperature(), -55);
    EXPECT_EQ(copy.getOnBoardExpandersWWN(0)[7], 8);
    EXPECT_EQ(copy.getSataHDCacheMode(), HARD_DRIVE_CACHE_MODE_WRITE_THROUGH);
    EXPECT_EQ(copy.getAlarmState(), ALARM_SOUND);

    // Equality: model code, id, status, versions and slot only.
    EXPECT_TRUE(copy != full); // the adapter id differs
    Adapter twin(FENTA, 6, CONTROLLER_STATUS_PASSIVE, const_cast<char*>("bios-1"),
                 const_cast<char*>("fw-2"), const_cast<char*>("drv-3"), 5, false, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(twin == full);
    twin.setLimit(MAX_ARRAYS, 99);
    EXPECT_TRUE(twin == full);
    twin.setAdapterStatus(CONTROLLER_STATUS_DOWN);
    EXPECT_FALSE(twin == full);

    // Assignment: a smaller set, with the id and library type.
    Adapter target(TARNELL_A1, 1, CONTROLLER_STATUS_WORKING, nullptr, nullptr, nullptr, 0, false, 1, 2, 3,
                   4, 5, 6, 7);
    target = full;
    EXPECT_EQ(target.getAdapterType(), FENTA);
    EXPECT_EQ(target.getStorLibType(), STORLIB_VESK);
    EXPECT_EQ(target.getAdapterID(), 6u);
    EXPECT_EQ(target.getAdapterStatus(), CONTROLLER_STATUS_PASSIVE);
    EXPECT_STREQ(target.getDeviceDriverVersion(), "drv-3");
    EXPECT_EQ(target.getPhysicalSlot(), 5);
    EXPECT_EQ(target.getAlarmState(), ALARM_SOUND);
    EXPECT_EQ(target.getSasHDCacheMode(), HARD_DRIVE_CACHE_MODE_WRITE_BACK);
    EXPECT_EQ(target.getLimit(MAX_CHANNELS), 4);
    EXPECT_EQ(target.getPCIBus(), 0u);
    EXPECT_FALSE(target.isUnattended());
    EXPECT_STREQ(target.getFirmwareBootVersion(), "");
    EXPECT_EQ(target.getNumChildren(), 0u);
    EXPECT_TRUE(target == full);
    full.deleteAllChildren();
}
