// Skeleton: replaced by the demo content generator.
#include "demo/demo_device.h"

namespace demo {
bool IsFreshDevice(const std::string&) {
    return false;
}
bool GenerateDemoDevice(const DemoOptions&, std::string&) {
    return true;
}
void PointCameraAtDemoFolder() {}
}  // namespace demo
