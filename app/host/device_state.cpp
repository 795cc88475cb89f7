#include "app/host/device_state.h"

#include "app/reg_key.h"

void SeedDeviceState() {
    CRegKey card;
    if (card.Create(HKEY_LOCAL_MACHINE, u"System\\State\\Halvern\\SDCARD")) {
        if (!card.HasValue(u"InStorageFolder"))
            card.SetString(u"InStorageFolder", u"My Documents");
        if (!card.HasValue(u"ExStorageFolder"))
            card.SetString(u"ExStorageFolder", u"Storage Card");
    }
    CRegKey camera;
    if (camera.Create(HKEY_CURRENT_USER, u"Software\\Halvern\\Camera")) {
        if (!camera.HasValue(u"StorageType"))
            camera.SetDword(u"StorageType", 1);
        if (!camera.HasValue(u"DCFNumber"))
            camera.SetDword(u"DCFNumber", 1);
    }
}
