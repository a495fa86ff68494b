#ifndef TARNELLADAPTERINFO_H
#define TARNELLADAPTERINFO_H

// Plain records a Tarnell adapter keeps of what the controller reports
// beyond its settings.

#include <string>

// Vital product data of the controller card; each text at most 16 characters.
struct AdapterVPDInfo {
    std::string FRU;          // FRU number of the controller card
    std::string batteryFRU;   // FRU number of the battery
    std::string serialNumber; // controller serial number
    std::string partNumber;
};

// Extended battery data of the battery-backed cache.
struct ExtendedBatteryInfo {
    int temperature = 0;      // signed, as the controller reports it
    int percentCharged = 0;
    bool abnormalTemperature = false;
};

#endif
