#include "platform/loader/loader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/error.h"
#include "platform/rights/client/ls_oma_client.h"
#include "tests/support/fixed_clock.h"

namespace {

LPCWSTR Ordinal(WORD ordinal) {
    return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(ordinal));
}

// Loads the module for one test and gives back every reference it took.
class LoadedClient {
  public:
    LoadedClient() : module_(LoadLibraryW(u"LsOmaClient.dll")) {}
    ~LoadedClient() {
        if (module_)
            FreeLibrary(module_);
    }
    LoadedClient(const LoadedClient&) = delete;
    LoadedClient& operator=(const LoadedClient&) = delete;
    HMODULE get() const { return module_; }

  private:
    HMODULE module_;
};

TEST(Loader, FindsTheClientWhateverTheCaseOrFolder) {
    const std::vector<std::u16string> names = {
        u"LsOmaClient.dll",
        u"lsomaclient.dll",
        u"LSOMACLIENT.DLL",
        u"\\Windows\\LsOmaClient.dll",
        u"\\windows\\LSOMACLIENT.dll",
        u"LsOmaClient",
    };
    const LoadedClient reference;
    ASSERT_NE(reference.get(), nullptr);
    for (const std::u16string& name : names) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        const HMODULE module = LoadLibraryW(name.c_str());
        EXPECT_EQ(module, reference.get()) << "one module, one handle";
        if (module) {
            EXPECT_TRUE(FreeLibrary(module));
        }
    }
}

TEST(Loader, UnknownModulesAreNotFound) {
    const std::vector<std::u16string> names = {
        u"LsOmaClient.exe", u"LsOmaClient.dll.bak", u"OtherClient.dll", u"\\Windows\\", u"",
        u"LsOmaClient.dl",
    };
    for (const std::u16string& name : names) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        SetLastError(0);
        EXPECT_EQ(LoadLibraryW(name.c_str()), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    }
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
    EXPECT_NE(GetLastError(), 0u);
}

TEST(Loader, OrdinalsAndNamesResolveToTheClientFunctions) {
    struct Case {
        WORD ordinal;
        const char16_t* name;
        FARPROC function;
    };
    const std::vector<Case> cases = {
        {146, u"LsOma_Open", reinterpret_cast<FARPROC>(&LsOma_Open)},
        {143, u"LsOma_GetForwardLockFlag", reinterpret_cast<FARPROC>(&LsOma_GetForwardLockFlag)},
        {142, u"LsOma_GetConstraint", reinterpret_cast<FARPROC>(&LsOma_GetConstraint)},
        {141, u"LsOma_GetHeader", reinterpret_cast<FARPROC>(&LsOma_GetHeader)},
        {129, u"LsOma_Close", reinterpret_cast<FARPROC>(&LsOma_Close)},
        {150, u"LsPlatformServicesSPI_GetAndValidateLocalTime",
         reinterpret_cast<FARPROC>(&LsPlatformServicesSPI_GetAndValidateLocalTime)},
    };
    const LoadedClient client;
    ASSERT_NE(client.get(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ordinal);
        EXPECT_EQ(GetProcAddressW(client.get(), Ordinal(c.ordinal)), c.function);
        EXPECT_EQ(GetProcAddressW(client.get(), c.name), c.function);
    }
}

TEST(Loader, MissingExportsAreNotFound) {
    const LoadedClient client;
    ASSERT_NE(client.get(), nullptr);
    const std::vector<LPCWSTR> names = {
        Ordinal(0),      Ordinal(1),    Ordinal(128),   Ordinal(147), Ordinal(151),
        Ordinal(0xFFFF), u"lsoma_open", u"LsOma_Open ", u"",          u"LsOma_OpenFile",
    };
    for (LPCWSTR name : names) {
        SetLastError(0);
        EXPECT_EQ(GetProcAddressW(client.get(), name), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    }
}

TEST(Loader, AnExportCastBackToItsTypeIsTheFunction) {
    const testing_support::FixedClock clock(1'700'000'000);
    const LoadedClient client;
    using GetLocalTime = int (*)(std::int64_t*);
    const auto viaLoader =
        reinterpret_cast<GetLocalTime>(GetProcAddressW(client.get(), Ordinal(150)));
    ASSERT_NE(viaLoader, nullptr);
    std::int64_t loaded = 0, direct = 0;
    EXPECT_EQ(viaLoader(&loaded), LS_OK);
    EXPECT_EQ(LsPlatformServicesSPI_GetAndValidateLocalTime(&direct), LS_OK);
    EXPECT_EQ(loaded, direct);
    EXPECT_NE(loaded, 0);
}

TEST(Loader, ReferencesAreCounted) {
    const HMODULE first = LoadLibraryW(u"LsOmaClient.dll");
    const HMODULE second = LoadLibraryW(u"LsOmaClient.dll");
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(GetProcAddressW(first, Ordinal(146)), nullptr) << "one reference is still held";
    EXPECT_TRUE(FreeLibrary(second));

    SetLastError(0);
    EXPECT_FALSE(FreeLibrary(first)) << "every reference was given back";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_EQ(GetProcAddressW(first, Ordinal(146)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(Loader, ForgedModulesAreRejected) {
    int notAModule = 0;
    const std::vector<HMODULE> forged = {
        nullptr,
        reinterpret_cast<HMODULE>(&notAModule),
        reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x1234)),
    };
    const LoadedClient client;  // a loaded module must not make other values valid
    for (HMODULE module : forged) {
        SetLastError(0);
        EXPECT_FALSE(FreeLibrary(module));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        SetLastError(0);
        EXPECT_EQ(GetProcAddressW(module, Ordinal(146)), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
}

TEST(Loader, AnUnavailableModuleCannotBeLoaded) {
    const LoadedClient before;
    ASSERT_NE(before.get(), nullptr);
    platform::SetModuleAvailable(u"lsomaclient.dll", false);
    SetLastError(0);
    const HMODULE missing = LoadLibraryW(u"\\Windows\\LsOmaClient.dll");
    const DWORD error = GetLastError();
    // A reference taken before keeps working: the module does not vanish under its user.
    const FARPROC stillThere = GetProcAddressW(before.get(), Ordinal(146));
    platform::SetModuleAvailable(u"LsOmaClient.dll", true);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(error, ERROR_MOD_NOT_FOUND);
    EXPECT_NE(stillThere, nullptr);

    const LoadedClient after;
    EXPECT_EQ(after.get(), before.get());
}

TEST(Loader, ConcurrentLoadsAndFreesBalance) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 500;
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < kRounds; ++i) {
                const HMODULE module = LoadLibraryW(u"LsOmaClient.dll");
                if (!module || !GetProcAddressW(module, Ordinal(142)) || !FreeLibrary(module))
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(failures[t], 0);
    // Every reference went back: one more load and free leaves the module unloaded.
    const HMODULE module = LoadLibraryW(u"LsOmaClient.dll");
    ASSERT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module));
}

}  // namespace
