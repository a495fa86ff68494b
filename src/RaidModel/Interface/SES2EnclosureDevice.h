#ifndef SES2ENCLOSUREDEVICE_H
#define SES2ENCLOSUREDEVICE_H

#include <cstdint>
#include <string>
#include <vector>

#include "RaidLib/Util/Buffer.h"
#include "RaidLib/Util/Ret.h"
#include "RaidLib/Util/SESElements.h"
#include "RaidLib/Util/SESPages.h"
#include "RaidLib/Util/TfiReader.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/PhysicalDevice.h"

class SimpleXmlParser;

// An SCSI Enclosure Services (SES-2) enclosure on a SAS channel. It keeps
// the diagnostic pages the family reads from it, decodes them into SES
// element children, answers the monitors' queries, finds the slots that hold
// drives, builds the Enclosure Control pages of the alarm and identify
// operations and downloads firmware.
//
// Nothing is sent to the device by this class: everything goes through the
// hooks (sendDiagnosticPage, quiesceForDownload,
// sendDownloadMicrocodeControlPage, getDownloadMicrocodeStatusPage), which a
// controller family overrides.
//
// Every page is read within its stored length. A page shorter than its
// contents imply stops the decoding and leaves the SES data invalid.
class STOR_EXPORT SES2EnclosureDevice : public PhysicalDevice {
public:
    static constexpr uint32_t NONE = 0x7FFFFFFF;
    static constexpr uint32_t RAW_IMAGE_LIMIT = 1048576; // raw images must be shorter
    static constexpr uint32_t RAW_PACKET_SIZE = 512;
    static constexpr uint32_t TFI_PACKET_SIZE = 256;
    // Status reads while the enclosure reports 0x02 (updating non-volatile
    // storage) before the download is given up as failed.
    static constexpr uint32_t MAX_BUSY_POLLS = 100000;

    SES2EnclosureDevice(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN,
                        const char* vendorIN, const char* modelIN, const char* serialNumberIN,
                        const char* firmwareLevelIN, EnumPhysicalDeviceState stateIN, const char* fruNumberIN);
    // Reads the "SESEnclosureDevice" element the parser stands on.
    SES2EnclosureDevice(Adapter* pAdapterIN, Channel* pChannelIN, SimpleXmlParser& xmlParser);
    SES2EnclosureDevice();
    // The device part only; the SES part starts empty.
    SES2EnclosureDevice(const SES2EnclosureDevice& right);
    SES2EnclosureDevice& operator=(const SES2EnclosureDevice&) = delete;
    // Frees the pages and lists; the children belong to the tree.
    ~SES2EnclosureDevice() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    // The child takes the next item number, then joins.
    void addChild(RaidObject* child) override;
    void addChild(RaidObject* child, unsigned long index) override;
    void descendantAdded(RaidObject* descendant) override;
    // Raw image for "Z12SAS..." models, Target Flash Image for "Quarbel K70...";
    // -1 for any other model.
    Ret upgradeFirmware(const char* pBaseFilename, bool skip) override;

    // Sounds, quiets or disables the audible alarm through an Enclosure
    // Control page. -1 when the configuration has no audible alarm element.
    virtual Ret setAlarmState(EnumAlarmState alarmStateIN);
    // Sets or clears the identify request of one of this enclosure's
    // elements. -2 when the element is not one of them.
    virtual Ret blinkElement(bool blink, SESElement& element);
    // Hooks of the firmware download. Base answers: 0, -1, -1.
    virtual Ret quiesceForDownload(bool quiesce);
    virtual Ret sendDownloadMicrocodeControlPage(unsigned char subenclosureID, unsigned char downloadMode,
                                                 unsigned char bufferID, unsigned long bufferOffset,
                                                 unsigned long imageLength, Buffer& data);
    virtual Ret getDownloadMicrocodeStatusPage(Buffer& data);
    // The download status of one subenclosure (0 with a page whose byte 1 is
    // 0: the first descriptor); both outputs 0xFF when it cannot be read.
    virtual Ret getDownloadMicrocodeStatus(int subenclosureIDIN, unsigned char& statusOUT,
                                           unsigned char& additionalStatusOUT);
    // Hook that sends a diagnostic page. Base answer: -1, nothing sent. The
    // caller keeps the buffer.
    virtual Ret sendDiagnosticPage(EnumSESPageCodes pageCode, unsigned char* pageBuffer,
                                   unsigned long pageBufferSize);
    // Collects the element's attributes and reads its "SESElement" children.
    virtual void build(SimpleXmlParser& xmlParser);

    // Pages read from the enclosure; a page of another code is ignored.
    void setSupportedDiagnosticPages(Buffer page0);
    void setConfigurationPage(Buffer page1);
    void setStatusPage(Buffer page2);
    void setElementDescriptorPage(Buffer page7);
    void setDeviceElementStatusPage(Buffer page10);
    // Decodes the stored pages into element children; isSESDataValid() tells
    // whether it completed.
    void initSESData();
    void setEnclosureID(unsigned int enclosureIDIN) { enclosureID = enclosureIDIN; }
    // Stamps the controller's hard drives that sit in this enclosure's slots
    // with the enclosure and slot numbers.
    void setHardDriveLocationMap(unsigned int enclosureIDIN);
    // Chooses once how slots are numbered.
    void determineSlotIDMethod();

    bool isSESDataValid() const { return sesDataValid; }
    uint32_t getEnclosureID() const { return enclosureID; }
    const char* getEnclosureLogicalID() const { return enclosureLogicalID; }
    Buffer getConfigurationPage() const { return configurationPage; }
    Buffer getStatusPage() const { return statusPage; }
    std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER> getTypeDescriptorHeaders() const { return typeDescriptorHeaders; }
    const std::vector<std::string>& getTypeDescriptorTexts() const { return typeDescriptorText; }
    uint32_t getNumberOfElementTypesSupported() const
    {
        return static_cast<uint32_t>(typeDescriptorHeaders.size());
    }
    bool supportsDiagnosticPage(int page) const;

    SESElement* getSESElement(unsigned long i) const;
    SESElement* getOtherSESElement(unsigned long i) const;
    SESDevice* getSESDevice(unsigned long i) const;
    SESArrayDevice* getSESArrayDevice(unsigned long i) const;
    SESDeviceSAS* getSESDeviceSAS(unsigned long i) const;
    SESArrayDeviceSAS* getSESArrayDeviceSAS(unsigned long i) const;
    unsigned long getNumSESElements() const { return allSESElementVec.size(); }

    uint16_t getFanCount() const;
    uint16_t getPowerSupplyCount() const;
    // The status code of the n-th fan / power supply; 6 (unknown) when there
    // is none.
    EnumSESStatusCodes getFanStatus(unsigned short indexIN) const;
    EnumSESStatusCodes getPowerSupplyStatus(unsigned short indexIN) const;
    bool isTempOutOfRange() const;
    // Degrees Celsius of the last sensor that reports one; 0x7FFFFFFF when none does.
    int32_t getCelciusTemperature() const;
    // Index of the SAS device (array device) slot element whose phys share a
    // SAS address with the drive's; 0x7FFFFFFF when none does.
    uint32_t getDeviceIndexForDrive(PhysicalDevice* drive) const;
    uint32_t getArrayDeviceIndexForDrive(PhysicalDevice* drive) const;

    bool usesSASArrayDeviceElementBayNumbers() const { return useSASArrayDeviceElementBayNumbers; }
    bool usesSASDeviceElementBayNumbers() const { return useSASDeviceElementBayNumbers; }
    bool usesArrayDeviceElementDescriptors() const { return useArrayDeviceElementDescriptors; }
    bool usesDeviceElementDescriptors() const { return useDeviceElementDescriptors; }
    bool usesDeviceElementSlotAddresses() const { return useDeviceElementSlotAddresses; }
    bool knowsSlotIDMethod() const { return knowSlotIDMethod; }

    // The raw image procedure: one file shorter than 1 MiB, in 512-byte packets.
    Ret flashPellory(const char* pBaseFilename, bool skip);
    // The Target Flash Image procedure: three images of the file, in 256-byte packets.
    Ret flashToviJBOD(const char* pBaseFilename, bool skip);

protected:
    // Sends one image in packets through the Download Microcode Control page
    // and waits for its final status. Releases the quiesce on failure.
    Ret downloadImage(const unsigned char* image, uint32_t size, uint32_t packetSize, unsigned char bufferID,
                      bool tfiMessages);
    // The download status of subenclosure 0.
    Ret readDownloadStatus(unsigned char& status);
    // Zeroed Enclosure Control page for the configuration, with its head
    // filled; null when it cannot be obtained.
    unsigned char* newControlPage(uint32_t& size) const;
    uint32_t deviceIndexForDrive(const char* className, PhysicalDevice* drive) const;
    void resetSESPart();

    bool useSASArrayDeviceElementBayNumbers;
    bool useSASDeviceElementBayNumbers;
    bool useArrayDeviceElementDescriptors;
    bool useDeviceElementDescriptors;
    bool useDeviceElementSlotAddresses;
    bool knowSlotIDMethod;
    uint32_t enclosureID;
    std::vector<SESElement*> allSESElementVec;
    std::vector<SESElement*> otherSESElementVec;
    std::vector<SESDevice*> sesDeviceVec;
    std::vector<SESArrayDevice*> sesArrayDeviceVec;
    std::vector<SESDeviceSAS*> sesDeviceSASVec;
    std::vector<SESArrayDeviceSAS*> sesArrayDeviceSASVec;
    std::vector<uint32_t> slotDescriptors;
    bool sesDataValid;
    bool havePage0;
    bool havePage1;
    bool havePage2;
    bool havePage7;
    bool havePage10;
    Buffer configurationPage;
    Buffer statusPage;
    Buffer elementDescriptorPage;
    Buffer deviceElementStatusPage;
    char enclosureLogicalID[17];
    std::vector<uint8_t> supportedDiagnosticPages;
    std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER> typeDescriptorHeaders;
    std::vector<std::string> typeDescriptorText;
    uint32_t itemCounter;
    // A stored Configuration page ended before its headers or texts did.
    bool configurationTruncated;
    // Status reads while the enclosure reports 0x02 before giving up.
    uint32_t maxBusyPolls;
};

#endif
