#include "tests/imaging/rights/rights_test_files.h"

#include "platform/core/handle.h"
#include "platform/fs/attributes.h"
#include "platform/rights/file_drm.h"

namespace rights_test {

using testing_support::SampleContent;

std::u16string RightsFiles::Put(std::u16string_view name, const Bytes& bytes) {
    const std::u16string path = u"\\My Documents\\" + std::u16string(name);
    device_.Write(path, bytes);
    return path;
}

std::string RightsFiles::NextUid() {
    return "cid:content" + std::to_string(++uids_) + "@test";
}

std::u16string RightsFiles::Plain(std::u16string_view name) {
    return Put(name, SampleContent());
}

std::u16string RightsFiles::ForwardLock(std::u16string_view name, std::string_view contentType) {
    return Put(name, testing_support::ForwardLockFile(contentType, SampleContent()));
}

std::u16string RightsFiles::Combined(std::u16string_view name, std::string_view contentType,
                                     Permission permission, const Terms& terms) {
    return Put(name, testing_support::CombinedDeliveryFile(contentType, SampleContent(), NextUid(),
                                                           permission, terms));
}

std::u16string RightsFiles::Separate(std::u16string_view name, std::string_view contentType,
                                     Permission permission, const Terms& terms, Installed installed,
                                     std::string_view rightsIssuer) {
    const testing_support::SeparateDelivery sd = testing_support::SeparateDeliveryFile(
        contentType, SampleContent(), NextUid(), permission, terms, rightsIssuer);
    if (installed == Installed::Rights)
        device_.Install(sd.rights, sd.rightsXml);
    return Put(name, sd.dcf);
}

std::u16string RightsFiles::SeparatePlayAndDisplay(std::u16string_view name, const Terms& play,
                                                   const Terms& display) {
    testing_support::SeparateDelivery sd = testing_support::SeparateDeliveryFile(
        "image/jpeg", SampleContent(), NextUid(), Permission::Play, play);
    sd.rights.permissions[Permission::Display] =
        platform::rights::Constraint{display.count, display.start, display.end, display.interval};
    device_.Install(sd.rights, testing_support::RightsXml(sd.rights));
    return Put(name, sd.dcf);
}

std::u16string RightsFiles::Damaged(std::u16string_view name) {
    const testing_support::SeparateDelivery sd = testing_support::SeparateDeliveryFile(
        "image/jpeg", SampleContent(), NextUid(), Permission::Display, Terms{});
    return Put(name, Bytes(sd.dcf.begin(), sd.dcf.begin() + 12));
}

}  // namespace rights_test
