#include "app/win32/accelerators.h"

#include "app/win32/command_ids.h"

namespace koyomi::win32 {

HACCEL CreateWindowAccelerators() {
    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'T', kCommandToday},
        {FVIRTKEY, VK_ESCAPE, kCommandCancelFetch},
    };
    return CreateAcceleratorTableW(keys, static_cast<int>(sizeof keys / sizeof keys[0]));
}

}  // namespace koyomi::win32
