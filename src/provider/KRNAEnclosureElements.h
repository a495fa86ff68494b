#ifndef KRNAENCLOSUREELEMENTS_H
#define KRNAENCLOSUREELEMENTS_H

// What the enclosure providers (the enclosure's computer system, the fan,
// power supply and temperature sensor of a SAF-TE enclosure, their
// redundancy sets and associations) share: the text that identifies all
// elements of one enclosure, their keys, the status arrays they build from
// the SAF-TE data, and the association provider that links two instances of
// every SAF-TE enclosure.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "KRNAProviderPattern.h"
#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Interface/Enclosure.h"

namespace corvanecimple {

// The identifying text of every element instance of the enclosure: its FRU
// number text as stored (up to its terminator), neither trimmed nor
// converted.
inline cimple::String enclosureElementID(const PhysicalDevice* enclosure)
{
    const char* fru = enclosure->getFruNumber();
    return cimple::String(std::string(fru, strnlen(fru, PhysicalDevice::TEXT_SIZE)));
}

// The keys of an element device of the enclosure (scoped like the
// controller-side devices, by the host), its Name, Caption and Description.
template <class Instance>
void krnaSetElementKeys(Instance* instance, const PhysicalDevice* enclosure, const char* caption)
{
    char host[KRNAProvUtil::HOST_NAME_SIZE];
    KRNAProvUtil::getSystemName(host, sizeof host);
    const cimple::String id = enclosureElementID(enclosure);
    instance->SystemCreationClassName.set(KRNAProvUtil::getSystemCreationClassName());
    instance->SystemName.set(host);
    instance->CreationClassName.set(Instance::static_meta_class.name);
    instance->DeviceID.set(id);
    instance->Name.set(id);
    instance->Caption.set(caption);
    instance->Description.set(caption);
}

// A redundancy set of the enclosure: InstanceID the element id, and its
// Caption and Description.
template <class Instance>
void krnaSetRedundancySet(Instance* instance, const PhysicalDevice* enclosure, const char* caption)
{
    instance->InstanceID.set(enclosureElementID(enclosure));
    instance->Caption.set(caption);
    instance->Description.set(caption);
}

// An array of one value.
template <class T>
cimple::Array<T> krnaOne(const T& value)
{
    cimple::Array<T> array;
    array.append(value);
    return array;
}

// OperationalStatus and StatusDescriptions, built in step.
class KRNAElementStatus {
public:
    void add(cimple::uint16 value, const char* text)
    {
        values.append(value);
        texts.append(cimple::String(text));
    }

    template <class Instance>
    void setOn(Instance* instance) const
    {
        instance->OperationalStatus.set(values);
        instance->StatusDescriptions.set(texts);
    }

private:
    cimple::Array_uint16 values;
    cimple::Array_String texts;
};

// How the status of one kind of element (fans, power supplies) follows
// from the enclosure's SAF-TE data.
struct KRNASafteStatusRules {
    struct Entry {
        cimple::uint16 value;
        const char* text;
    };
    uint16_t (SafteConfig::*count)() const;             // the configuration's count of the kind
    const unsigned char* (SafteStatus::*bytes)() const; // the status bytes of the kind
    Entry noneCounted;                                  // first, when the configuration counts none
    unsigned char failureBit;                           // of the first status byte, tested first
    Entry failure;
    unsigned char otherBit;                             // tested next
    Entry other;
    Entry otherwise;
};

// The status by the rules: {0} "Unknown" without SAF-TE configuration or
// status; otherwise the entry of a configuration that counts none (when it
// does), then that of the first element's status byte (only the first
// element counts).
inline KRNAElementStatus krnaSafteStatus(const Enclosure* enclosure, const KRNASafteStatusRules& rules)
{
    KRNAElementStatus status;
    const SafteConfig* config = enclosure->getSafteConfig();
    const SafteStatus* safte = enclosure->getSafteStatus();
    if (!config || !safte) {
        status.add(0, "Unknown");
        return status;
    }
    if ((config->*rules.count)() == 0)
        status.add(rules.noneCounted.value, rules.noneCounted.text);
    const unsigned char first = (safte->*rules.bytes)()[0];
    const KRNASafteStatusRules::Entry& entry =
        first & rules.failureBit ? rules.failure : first & rules.otherBit ? rules.other : rules.otherwise;
    status.add(entry.value, entry.text);
    return status;
}

// One association per SAF-TE enclosure between two of its instances: the
// LeftProvider's build in the role LeftRole, the RightProvider's build in
// RightRole (the roles as members of the association class or of the schema
// class that declares them).
template <class Derived, class Assoc, class LeftProvider, auto LeftRole, class RightProvider, auto RightRole>
class KRNAEnclosureLinkProvider : public KRNAAssociationProvider<Derived, Assoc> {
    typedef KRNAAssociationProvider<Derived, Assoc> Base;

public:
    static void krnaBuildMap(cimple::Instance_Map<Assoc>& map)
    {
        Base::krnaWalk("Enclosure", [&](const std::vector<RaidObject*>& enclosures) {
            for (RaidObject* o : enclosures) {
                Enclosure* enclosure = dynamic_cast<Enclosure*>(o);
                if (enclosure)
                    Base::krnaLink(map, role(LeftRole), krnaEnd<LeftProvider>(enclosure), role(RightRole),
                                   krnaEnd<RightProvider>(enclosure));
            }
        });
    }

private:
    // The role as a member of the association class itself.
    template <class End, class Owner>
    static constexpr End* Assoc::*role(End* Owner::*member)
    {
        return member;
    }
};

} // namespace corvanecimple

#endif
