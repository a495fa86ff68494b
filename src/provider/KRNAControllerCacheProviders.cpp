// The controller cache memory and battery providers and their associations
// with the controller's computer system.
#include "KRNAControllerCacheProviders.h"

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "VeskAdapter.h"

namespace corvanecimple {

namespace {

KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);

// A non-negative estimate truncated toward zero, held below limit + 1.
template <class T>
T truncated(long double value, T limit)
{
    return value < static_cast<long double>(limit) ? static_cast<T>(value) : limit;
}

} // namespace

// ---- KRNA_ControllerCacheMemory -------------------------------------------------------

void KRNA_ControllerCacheMemory_Provider::krnaBuildInstance(cimple::KRNA_ControllerCacheMemory* instance,
                                                           Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerCacheMemory_Provider::krnaBuildInstance()");
    krnaSetDeviceKeys(instance, krnaAdapterUniqueID(adapter));
    instance->Caption.set("Corvane Cache Memory");
    instance->BlockSize.set(1);
    // Widened with its sign, as the model keeps it.
    instance->NumberOfBlocks.set(static_cast<cimple::uint64>(static_cast<int64_t>(adapter->getInstalledMemory())));
    instance->Volatile.set(true);
}

void KRNA_ControllerCacheMemory_Provider::onEnumStart(unsigned long adapters)
{
    logger.debug("(KRNA_ControllerCacheMemory_Provider) enum_instances() No of adapters = %d\n",
                 static_cast<int>(adapters));
}

void KRNA_ControllerCacheMemory_Provider::onEnumEnd(unsigned long)
{
    logger.debug("Exiting - (KRNA_ControllerCacheMemory_Provider) enum_instances()\n");
}

void KRNA_ControllerCacheMemory_Provider::onGetStart(unsigned long adapters)
{
    logger.debug("(KRNA_ControllerCacheMemory_Provider) get_instance() No of adapters = %d\n",
                 static_cast<int>(adapters));
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerCacheMemory_Provider);

// ---- KRNA_ControllerCacheBattery -------------------------------------------------------

KRNA_ControllerCacheBattery_Provider::Estimates KRNA_ControllerCacheBattery_Provider::estimates(uint32_t remaining,
                                                                                              uint32_t full,
                                                                                              uint32_t draw)
{
    const long double R = remaining, F = full, D = draw;
    Estimates e;
    e.runTime = D == 0 ? 0 : truncated<cimple::uint32>(R * 10 / D * 60, 0xFFFFFFFFu);
    e.charge = F == 0 ? 0 : truncated<cimple::uint16>(static_cast<double>(remaining) * 100 / full, 0xFFFF);
    e.capacity = truncated<cimple::uint32>(static_cast<double>(full) * 3.6, 0xFFFFFFFFu);
    return e;
}

bool KRNA_ControllerCacheBattery_Provider::krnaEnumerates(Adapter* adapter)
{
    switch (adapter->getBatStatus()) {
    case BATTERY_STATUS_OTHER:
    case BATTERY_STATUS_OK:
    case BATTERY_STATUS_FAILED:
    case BATTERY_STATUS_CHARGING:
    case BATTERY_STATUS_DISCHARGING:
    case BATTERY_STATUS_MAINTENANCE:
        return true;
    default:
        return false;
    }
}

void KRNA_ControllerCacheBattery_Provider::krnaBuildInstance(cimple::KRNA_ControllerCacheBattery* instance,
                                                            Adapter* adapter, bool)
{
    KRNADebugTrace trace("KRNA_ControllerCacheBattery_Provider::krnaBuildInstance()");
    krnaSetDeviceKeys(instance, krnaAdapterUniqueID(adapter));
    instance->ElementName.set("Controller Cache Battery");
    instance->Name.set("Controller Cache Battery");

    cimple::Array_uint16 operational;
    cimple::uint16 status;
    switch (adapter->getBatStatus()) {
    case BATTERY_STATUS_OK:
        operational.append(2);
        status = 3;
        break;
    case BATTERY_STATUS_FAILED:
        operational.append(6);
        status = 5;
        break;
    case BATTERY_STATUS_CHARGING:
        status = 6;
        break;
    case BATTERY_STATUS_OTHER:
        operational.append(1);
        status = 1;
        break;
    default:
        operational.append(0);
        status = 2;
        break;
    }
    instance->OperationalStatus.set(operational);
    instance->BatteryStatus.set(status);
    instance->EnabledState.set(5);
    instance->RequestedState.set(12);
    instance->EnabledDefault.set(5);

    if (adapter->isInstanceOf("VeskAdapter")) {
        instance->batteryFRU.set(static_cast<VeskAdapter*>(adapter)->getBatteryFRU());
    } else if (adapter->isInstanceOf("TarnellAdapter")) {
        const AdapterVPDInfo* vpd = static_cast<TarnellAdapter*>(adapter)->getAdapterVPDInfo();
        if (vpd)
            instance->batteryFRU.set(vpd->batteryFRU.c_str());
    }

    if (status == 2)
        return;
    const Estimates e =
        estimates(adapter->getBatRemainingCapacity(), adapter->getBatFullCapacity(), adapter->getBatCurrentDraw());
    instance->EstimatedRunTime.set(e.runTime);
    instance->EstimatedChargeRemaining.set(e.charge);
    instance->DesignCapacity.set(e.capacity);
    instance->FullChargeCapacity.set(e.capacity);
}

CIMPLE_INSTANCE_PROVIDER(KRNA_ControllerCacheBattery_Provider);

// ---- the associations -------------------------------------------------------------------

void KRNA_ControllerAssociatedCacheMemory_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map,
                                                                    Adapter* adapter)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerCacheMemory_Provider>(adapter), &Class::Dependent,
             krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerAssociatedCacheMemory_Provider);

void KRNA_ControllerBatterySystemDevice_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter)
{
    krnaLink(map, &Class::GroupComponent, krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter),
             &Class::PartComponent, krnaEnd<KRNA_ControllerCacheBattery_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerBatterySystemDevice_Provider);

void KRNA_ControllerBatteryConcreteDependency_Provider::krnaLinkAdapter(cimple::Instance_Map<Class>& map,
                                                                        Adapter* adapter)
{
    krnaLink(map, &Class::Antecedent, krnaEnd<KRNA_ControllerCacheBattery_Provider>(adapter), &Class::Dependent,
             krnaEnd<KRNA_ControllerComputerSystem_Provider>(adapter));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ControllerBatteryConcreteDependency_Provider);

} // namespace corvanecimple
