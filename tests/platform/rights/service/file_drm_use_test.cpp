// Opening protected content, reading it clear, spending uses, and files that are not what they
// claim to be.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "platform/controls/message_box/message_box.h"
#include "platform/core/debug.h"
#include "platform/fs/file_io.h"
#include "platform/rights/file_drm.h"
#include "rights_service_test_util.h"
#include "tests/support/fixed_clock.h"

namespace {

namespace rights = platform::rights;
using rights::Permission;
using service_test::Count;
using service_test::Interval;
using service_test::kDay;
using service_test::kNow;
using service_test::Window;
using testing_support::Bytes;

constexpr char16_t kPath[] = u"\\My Documents\\photo.dcf";
constexpr std::string_view kUid = "cid:photo@example.org";

// Opens `path` for reading as the viewer does; the result, and the handle in `handle`.
HRESULT OpenClear(HANDLE& handle, LPCWSTR path = kPath) {
    handle = nullptr;
    return FileDrmCreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                             nullptr, &handle);
}

// Opens, reads the whole clear content and closes; nullopt when the open did not give S_OK.
std::optional<Bytes> ReadClear(LPCWSTR path) {
    HANDLE handle = nullptr;
    if (OpenClear(handle, path) != S_OK)
        return std::nullopt;
    Bytes clear(GetFileSize(handle, nullptr));
    DWORD read = 0;
    const BOOL ok =
        ReadFile(handle, clear.data(), static_cast<DWORD>(clear.size()), &read, nullptr);
    CloseHandle(handle);
    if (!ok || read != clear.size())
        return std::nullopt;
    return clear;
}

HRESULT Verify(DWORD right, DWORD flags, DWORD& status, LPCWSTR path = kPath) {
    status = 0xDEAD;
    return FileDrmVerifyRights(nullptr, path, right, flags, &status);
}

class FileDrmUseTest : public ::testing::Test {
  protected:
    testing_support::FixedClock clock_{kNow};
    testing_support::RightsDevice device_;
};

// Known answer through the handle: the fixtures encrypt with a fixed key and IV.
TEST_F(FileDrmUseTest, SeparateDeliveryReadsBackTheExactClearBytes) {
    for (const std::size_t size : {0u, 15u, 16u, 17u, 4096u}) {
        SCOPED_TRACE(size);
        const Bytes media = testing_support::SampleContent(size);
        const auto sd = testing_support::SeparateDeliveryFile("image/jpeg", media, kUid,
                                                              Permission::Display, {});
        device_.Write(kPath, sd.dcf);
        device_.Install(sd.rights, sd.rightsXml);
        EXPECT_EQ(ReadClear(kPath), media);
    }
}

TEST_F(FileDrmUseTest, MessagesReadBackTheirMedia) {
    const Bytes media = testing_support::SampleContent(777);
    const Bytes files[] = {
        testing_support::ForwardLockFile("image/gif", media),
        testing_support::CombinedDeliveryFile("image/gif", media, kUid, Permission::Display,
                                              Count(2)),
    };
    for (const Bytes& file : files) {
        device_.Write(kPath, file);
        EXPECT_EQ(ReadClear(kPath), media);
    }
}

TEST_F(FileDrmUseTest, HandleSeeksWithinTheClearContent) {
    device_.Write(kPath, testing_support::ForwardLockFile("image/gif", {'a', 'b', 'c', 'd'}));
    HANDLE handle = nullptr;
    ASSERT_EQ(OpenClear(handle), S_OK);
    EXPECT_EQ(SetFilePointer(handle, 2, nullptr, FILE_BEGIN), 2u);
    char buffer[8] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(handle, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "cd");
    ASSERT_TRUE(ReadFile(handle, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 0u);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(handle, "x", 1, &written, nullptr));
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(CloseHandle(handle));
}

TEST_F(FileDrmUseTest, RefusesWritingAndCreating) {
    device_.Write(kPath, testing_support::ForwardLockFile("image/gif", {1}));
    struct Case {
        DWORD access;
        DWORD disposition;
    };
    const Case cases[] = {{GENERIC_WRITE, OPEN_EXISTING},
                          {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING},
                          {GENERIC_READ, CREATE_ALWAYS},
                          {GENERIC_READ, TRUNCATE_EXISTING}};
    for (const Case& c : cases) {
        HANDLE handle = nullptr;
        EXPECT_EQ(
            FileDrmCreateFile(kPath, c.access, 0, nullptr, c.disposition, 0, nullptr, &handle),
            E_ACCESSDENIED);
        EXPECT_EQ(handle, INVALID_HANDLE_VALUE);
    }
}

TEST_F(FileDrmUseTest, OpeningSpendsNothingAndCommitSpendsOne) {
    device_.Write(kPath, testing_support::CombinedDeliveryFile(
                             "image/jpeg", testing_support::SampleContent(50), kUid,
                             Permission::Display, Count(1)));
    DWORD status = 0;
    for (int open = 0; open < 3; ++open)
        ASSERT_TRUE(ReadClear(kPath));
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), S_OK);
    EXPECT_EQ(status, FDRVS_EXPIRABLE);

    HANDLE handle = nullptr;
    ASSERT_EQ(OpenClear(handle), S_OK);
    EXPECT_EQ(FileDrmCommitRights(handle, FDRRF_FORWARD, 0), E_FDRM_NOFORWARDRIGHTS);
    EXPECT_EQ(FileDrmCommitRights(handle, FDRRF_DISPLAY, 0), S_OK);
    EXPECT_EQ(FileDrmCommitRights(handle, FDRRF_DISPLAY, 0), E_FDRM_LICENSEEXPIRED);
    CloseHandle(handle);

    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), E_FDRM_LICENSEEXPIRED);
    EXPECT_EQ(status, 0u);
    // Opening the message again installs its rights again, which must not restore the count.
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), E_FDRM_LICENSEEXPIRED);
    EXPECT_EQ(OpenClear(handle), S_FALSE);
    EXPECT_EQ(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(service_test::StoreRows().find('\n'), service_test::StoreRows().size() - 1)
        << "one rights object installed";
}

TEST_F(FileDrmUseTest, CommitStartsTheIntervalWhichThenEnds) {
    const auto sd =
        testing_support::SeparateDeliveryFile("image/jpeg", testing_support::SampleContent(20),
                                              kUid, Permission::Display, Interval(kDay));
    device_.Write(kPath, sd.dcf);
    device_.Install(sd.rights, sd.rightsXml);
    HANDLE handle = nullptr;
    ASSERT_EQ(OpenClear(handle), S_OK);
    clock_.Advance(10 * kDay);  // a check never starts the interval
    DWORD status = 0;
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), S_OK);
    EXPECT_EQ(status, FDRVS_EXPIRABLE);
    EXPECT_EQ(FileDrmCommitRights(handle, FDRRF_DISPLAY, 0), S_OK);
    EXPECT_EQ(FileDrmCommitRights(handle, FDRRF_FORWARD, 0), S_OK);
    CloseHandle(handle);
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), S_OK);
    EXPECT_EQ(status, 0u) << "running interval: a use spends nothing more";
    clock_.Advance(kDay);
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), E_FDRM_LICENSEEXPIRED);
}

TEST_F(FileDrmUseTest, AnyOfTwoRightsObjectsAllowsTheUse) {
    const Bytes media = testing_support::SampleContent(20);
    const auto expired = testing_support::SeparateDeliveryFile(
        "image/jpeg", media, kUid, Permission::Display, Window(std::nullopt, kNow - 1));
    const auto counted = testing_support::SeparateDeliveryFile("image/jpeg", media, kUid,
                                                               Permission::Display, Count(1));
    device_.Write(kPath, expired.dcf);
    device_.Install(expired.rights, expired.rightsXml);
    DWORD status = 0;
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), E_FDRM_LICENSEEXPIRED);
    device_.Install(counted.rights, counted.rightsXml);
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), S_OK);
    EXPECT_EQ(status, FDRVS_EXPIRABLE);

    HANDLE handle = nullptr;
    ASSERT_EQ(OpenClear(handle), S_OK);
    EXPECT_EQ(FileDrmCommitRights(handle, FDRRF_DISPLAY, 0), S_OK);
    CloseHandle(handle);
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), E_FDRM_LICENSEEXPIRED);
}

TEST_F(FileDrmUseTest, ForwardLockCommitsWithoutRights) {
    device_.Write(kPath, testing_support::ForwardLockFile("image/gif", {1, 2}));
    HANDLE handle = nullptr;
    ASSERT_EQ(OpenClear(handle), S_OK);
    EXPECT_EQ(FileDrmCommitRights(handle, FDRRF_DISPLAY, 0), S_OK);
    CloseHandle(handle);
    EXPECT_EQ(FileDrmCommitRights(handle, FDRRF_DISPLAY, 0), E_HANDLE) << "closed";
    EXPECT_TRUE(service_test::StoreRows().empty());

    device_.Write(u"\\My Documents\\plain.txt", {'h', 'i'});
    HANDLE plain = CreateFileW(u"\\My Documents\\plain.txt", GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(plain, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileDrmCommitRights(plain, FDRRF_DISPLAY, 0), E_HANDLE);
    CloseHandle(plain);
}

// Bad input: whatever a file holds, nothing crashes, nothing is shown for a broken container,
// nothing opens, and the stored rights stay as they were.
TEST_F(FileDrmUseTest, BrokenFilesChangeNothing) {
    const auto sd = testing_support::SeparateDeliveryFile(
        "image/jpeg", testing_support::SampleContent(100), kUid, Permission::Display, Count(2));
    device_.Install(sd.rights, sd.rightsXml);
    const Bytes cd =
        testing_support::CombinedDeliveryFile("image/jpeg", testing_support::SampleContent(100),
                                              "cid:other@x", Permission::Display, Count(2));
    Bytes overrun = sd.dcf;
    overrun.resize(overrun.size() - 1);
    Bytes badBoundary = cd;
    badBoundary[2] = '\n';  // breaks the first boundary line
    Bytes cdCut = cd;
    cdCut.resize(cd.size() * 2 / 3);
    Bytes randomBytes(3000);
    std::uint32_t seed = 12345;
    for (auto& byte : randomBytes) {
        seed = seed * 1103515245 + 12345;
        byte = static_cast<std::uint8_t>(seed >> 16);
    }
    struct Case {
        const char* name;
        Bytes bytes;
        HRESULT isDrmResult;
    };
    const Case cases[] = {
        {"dcf cut in its headers", Bytes(sd.dcf.begin(), sd.dcf.begin() + 45), S_FDRM_UNREADABLE},
        {"dcf data overruns the file", overrun, S_FDRM_UNREADABLE},
        {"dm cut short", cdCut, S_FDRM_UNREADABLE},
        {"dm with a bad boundary", badBoundary, S_OK},
        {"text named .dcf", Bytes{'h', 'e', 'l', 'l', 'o'}, S_OK},
        {"random bytes", randomBytes, S_OK},
        {"empty", Bytes{}, S_OK},
    };
    const std::string before = service_test::StoreRows();
    ASSERT_FALSE(before.empty());
    service_test::MessageRecorder recorder(IDYES);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device_.Write(kPath, c.bytes);
        BOOL isDrm = TRUE;
        EXPECT_EQ(FileDrmIsDRM(kPath, &isDrm), c.isDrmResult);
        EXPECT_FALSE(isDrm);
        DWORD status = 0;
        const HRESULT verified = Verify(FDRRF_DISPLAY, 0, status);
        EXPECT_EQ(verified, c.isDrmResult == S_OK ? S_OK : E_FDRM_NOLICENSE);
        EXPECT_EQ(status, 0u);
        HANDLE handle = nullptr;
        EXPECT_TRUE(FAILED(FileDrmCreateFile(kPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                             nullptr, &handle)));
        EXPECT_EQ(handle, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(FAILED(FileDrmShowLicenseInfo(nullptr, kPath)));
    }
    EXPECT_TRUE(recorder.Messages().empty());
    EXPECT_EQ(service_test::StoreRows(), before);
}

TEST_F(FileDrmUseTest, IsDrmTellsFilesApart) {
    const auto sd = testing_support::SeparateDeliveryFile(
        "image/jpeg", testing_support::SampleContent(10), kUid, Permission::Display, {});
    device_.Write(u"\\My Documents\\a.dcf", sd.dcf);
    device_.Write(u"\\My Documents\\b.dm", testing_support::ForwardLockFile("image/gif", {1}));
    device_.Write(u"\\My Documents\\c.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'g'});
    struct Case {
        const char16_t* path;
        HRESULT result;
        BOOL isDrm;
    };
    const Case cases[] = {
        {u"\\My Documents\\a.dcf", S_OK, TRUE},
        {u"\\My Documents\\b.dm", S_OK, TRUE},
        {u"\\My Documents\\c.jpg", S_OK, FALSE},
        {u"\\My Documents\\missing.dcf", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), FALSE},
        {u"\\My Documents", HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.path));
        BOOL isDrm = 2;
        EXPECT_EQ(FileDrmIsDRM(c.path, &isDrm), c.result);
        EXPECT_EQ(isDrm, c.isDrm);
    }
    DWORD status = 9;
    EXPECT_EQ(Verify(FDRRF_DISPLAY, 0, status, u"\\My Documents\\c.jpg"), S_OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(FileDrmIsDRM(u"\\My Documents\\a.dcf", nullptr), E_POINTER);
}

TEST_F(FileDrmUseTest, HandleErrorShowsOnlyWithoutNoUi) {
    const auto sd = testing_support::SeparateDeliveryFile(
        "image/jpeg", testing_support::SampleContent(10), kUid, Permission::Display,
        Window(kNow + 3 * kDay, std::nullopt), "http://ri.example.org/");
    device_.Write(kPath, sd.dcf);
    device_.Install(sd.rights, sd.rightsXml);
    struct Case {
        HRESULT error;
        DWORD flags;
        HRESULT result;
        const char* mention;  // null: nothing shown
    };
    const Case cases[] = {
        {E_FDRM_NOLICENSE, FDRVF_NOUI, S_OK, nullptr},
        {E_FDRM_NOLICENSE, 0, S_OK, "cannot be used yet"},
        {E_FDRM_LICENSEEXPIRED, 0, S_OK, "expired"},
        {E_FDRM_NOFORWARDRIGHTS, 0, S_OK, "forwarded"},
        {E_FAIL, 0, E_INVALIDARG, nullptr},
    };
    for (const Case& c : cases) {
        service_test::MessageRecorder recorder(IDOK);
        DWORD status = 5;
        EXPECT_EQ(FileDrmHandleError(nullptr, c.error, kPath, c.flags, &status), c.result);
        EXPECT_EQ(status, 0u);
        if (c.mention == nullptr) {
            EXPECT_TRUE(recorder.Messages().empty());
            continue;
        }
        ASSERT_EQ(recorder.Messages().size(), 1u);
        EXPECT_NE(recorder.Messages()[0].text.find(c.mention), std::string::npos);
        EXPECT_NE(recorder.Messages()[0].text.find("photo.dcf"), std::string::npos);
    }
}

// Dates are local time; the zone is pinned so the expected text is the same everywhere.
class ZoneUtc {
  public:
    ZoneUtc() {
        if (const char* zone = std::getenv("TZ"))
            previous_ = zone;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~ZoneUtc() {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

  private:
    std::optional<std::string> previous_;
};

TEST_F(FileDrmUseTest, LicenseInfoListsWhatIsLeft) {
    ZoneUtc zone;
    rights::RightsObject object = testing_support::MakeRights(
        kUid, Permission::Display, {3, kNow - kDay, kNow + 30 * kDay, std::nullopt});
    object.permissions[Permission::Print] = {};
    const auto sd = testing_support::SeparateDeliveryFile(
        "image/jpeg", testing_support::SampleContent(10), kUid, Permission::Display, {});
    device_.Write(kPath, sd.dcf);
    device_.Install(object, testing_support::RightsXml(object));
    service_test::MessageRecorder recorder(IDOK);
    EXPECT_EQ(FileDrmShowLicenseInfo(nullptr, kPath), S_OK);
    ASSERT_EQ(recorder.Messages().size(), 1u);
    const std::string& text = recorder.Messages()[0].text;
    for (const char* mention : {"photo.dcf", "Display: 3 uses left of 3", "from 2027-01-14 08:00",
                                "until 2027-02-14 08:00", "Print: unlimited"})
        EXPECT_NE(text.find(mention), std::string::npos) << mention << " in " << text;
}

// A store that cannot be opened is reported on the debug output and reads as "no rights".
TEST_F(FileDrmUseTest, StoreFailureAnswersNoRights) {
    const auto sd = testing_support::SeparateDeliveryFile(
        "image/jpeg", testing_support::SampleContent(10), kUid, Permission::Display, {});
    device_.Write(kPath, sd.dcf);
    device_.Install(sd.rights, sd.rightsXml);
    platform::ConfigureRightsStore(device_.Temp() / "no-such-folder/rights.db");
    platform::DebugOutputCapture capture;
    DWORD status = 0;
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), E_FDRM_NOLICENSE);
    HANDLE handle = nullptr;
    EXPECT_EQ(OpenClear(handle), S_FALSE);
    EXPECT_NE(capture.Utf8().find("rights store"), std::string::npos);
    // Back at the real store, its rights are found again.
    platform::ConfigureRightsStore(device_.StorePath());
    EXPECT_EQ(Verify(FDRRF_DISPLAY, FDRVF_NOUI, status), S_OK);
}

}  // namespace

namespace {

void SetModified(const std::string& hostPath, std::int64_t unixSeconds) {
    const timespec times[2] = {{unixSeconds, 0}, {unixSeconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, hostPath.c_str(), times, 0), 0);
}

// Checks of a settled file are remembered; any change of the file is still seen.
TEST_F(FileDrmUseTest, ChangedFilesAreReadAgain) {
    const auto sd = testing_support::SeparateDeliveryFile(
        "image/jpeg", testing_support::SampleContent(10), kUid, Permission::Display, {});
    const std::string host = device_.HostPath(kPath);
    struct Step {
        const char* name;
        Bytes bytes;
        std::int64_t modified;
        HRESULT isDrm;
    };
    Bytes damaged = sd.dcf;
    damaged.resize(damaged.size() - 1);
    const Step steps[] = {
        {"protected", sd.dcf, 1'000'000, S_OK},
        {"same file again", sd.dcf, 1'000'000, S_OK},
        {"cut short, same time", damaged, 1'000'000, S_FDRM_UNREADABLE},
        {"whole again, later", sd.dcf, 1'000'100, S_OK},
        {"plain, same size", Bytes(sd.dcf.size(), 'x'), 1'000'200, S_OK},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        device_.Write(kPath, step.bytes);
        SetModified(host, step.modified);
        for (int i = 0; i < 2; ++i) {
            BOOL isDrm = FALSE;
            EXPECT_EQ(FileDrmIsDRM(kPath, &isDrm), step.isDrm);
            DWORD status = 0;
            const HRESULT verified = Verify(FDRRF_FORWARD, FDRVF_NOUI, status);
            EXPECT_EQ(verified, step.isDrm == S_OK ? S_OK : E_FDRM_NOLICENSE);
            EXPECT_EQ(isDrm, step.bytes[0] == 'x' || step.isDrm != S_OK ? FALSE : TRUE);
        }
    }
}

}  // namespace
