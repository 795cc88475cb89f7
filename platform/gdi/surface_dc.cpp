#include "platform/gdi/surface_dc.h"

#include "platform/gdi/device_context.h"

namespace platform {

HDC CreateSurfaceDC(Surface& surface, POINT origin, const RECT& clip) {
    return ToDcHandle(RegisterGdiObject(DeviceContext::ForSurface(surface, origin, clip)));
}

}  // namespace platform
