#include "platform/com/com.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/core/com_ptr.h"
#include "platform/imaging/imaging.h"

namespace {

TEST(ComTest, InitialisationIsCountedPerThread) {
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    HRESULT other = E_FAIL;
    std::thread([&] {
        other = CoInitializeEx(nullptr, 0);
        CoUninitialize();
    }).join();
    EXPECT_EQ(other, S_OK) << "another thread starts its own count";
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many does nothing
    EXPECT_EQ(CoInitializeEx(nullptr, 0), S_OK);
    CoUninitialize();
}

TEST(ComTest, CreateInstanceResults) {
    static IUnknown* const kOuter = reinterpret_cast<IUnknown*>(0x10);
    const CLSID unknown = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
    struct Case {
        const char* name;
        const CLSID* clsid;
        IUnknown* outer;
        DWORD context;
        const IID* iid;
        bool withOut;
        HRESULT result;
    };
    const Case cases[] = {
        {"factory", &CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, &IID_IImagingFactory,
         true, S_OK},
        {"as IUnknown, any in-process context", &CLSID_ImagingFactory, nullptr, CLSCTX_ALL,
         &IID_IUnknown, true, S_OK},
        {"interface it lacks", &CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, &IID_IImage,
         true, E_NOINTERFACE},
        {"unknown class", &unknown, nullptr, CLSCTX_INPROC_SERVER, &IID_IUnknown, true,
         REGDB_E_CLASSNOTREG},
        {"out of process only", &CLSID_ImagingFactory, nullptr, CLSCTX_LOCAL_SERVER,
         &IID_IImagingFactory, true, REGDB_E_CLASSNOTREG},
        {"aggregation", &CLSID_ImagingFactory, kOuter, CLSCTX_INPROC_SERVER, &IID_IUnknown, true,
         CLASS_E_NOAGGREGATION},
        {"no out-pointer", &CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
         &IID_IImagingFactory, false, E_POINTER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* object = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(
            CoCreateInstance(*c.clsid, c.outer, c.context, *c.iid, c.withOut ? &object : nullptr),
            c.result);
        if (!c.withOut)
            continue;
        if (c.result == S_OK) {
            ASSERT_NE(object, nullptr);
            static_cast<IUnknown*>(object)->Release();
        } else {
            EXPECT_EQ(object, nullptr);
        }
    }
}

// The program's first steps with the imaging service, down to freeing the encoder list.
TEST(ComTest, ProgramCreatesTheFactoryAndListsEncoders) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, 0)));
    ComPtr<IImagingFactory> factory;
    ASSERT_EQ(
        CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                         reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf())),
        S_OK);
    UINT count = 0;
    ImageCodecInfo* encoders = nullptr;
    ASSERT_EQ(factory->GetInstalledEncoders(&count, &encoders), S_OK);
    bool jpeg = false;
    for (UINT i = 0; i < count; ++i)
        jpeg = jpeg || std::u16string(encoders[i].MimeType) == u"image/jpeg";
    EXPECT_TRUE(jpeg);
    CoTaskMemFree(encoders);
    factory.Reset();
    CoUninitialize();
}

}  // namespace
