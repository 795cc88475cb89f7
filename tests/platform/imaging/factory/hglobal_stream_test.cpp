#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/core/com_ptr.h"
#include "platform/core/stream.h"

namespace {

HGLOBAL BlockWith(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size());
    std::memcpy(GlobalLock(block), text.data(), text.size());
    GlobalUnlock(block);
    return block;
}

std::string BlockText(HGLOBAL block) {
    const auto* bytes = static_cast<const char*>(GlobalLock(block));
    std::string text(bytes, GlobalSize(block));
    GlobalUnlock(block);
    return text;
}

LARGE_INTEGER Move(LONGLONG by) {
    LARGE_INTEGER move;
    move.QuadPart = by;
    return move;
}

ULONGLONG Position(IStream* stream) {
    ULARGE_INTEGER at{};
    stream->Seek(Move(0), STREAM_SEEK_CUR, &at);
    return at.QuadPart;
}

std::string ReadText(IStream* stream, ULONG size) {
    std::string text(size, '\0');
    ULONG got = 0;
    EXPECT_EQ(stream->Read(text.data(), size, &got), S_OK);
    text.resize(got);
    return text;
}

// A stream over "0123456789" (not deleted on release), and its block.
struct Fixture {
    HGLOBAL block = BlockWith("0123456789");
    ComPtr<IStream> stream;
    Fixture() {
        EXPECT_EQ(CreateStreamOnHGlobal(block, FALSE, stream.ReleaseAndGetAddressOf()), S_OK);
    }
    ~Fixture() {
        stream.Reset();
        GlobalFree(block);
    }
};

TEST(HGlobalStreamTest, SeekFromEachOrigin) {
    struct Case {
        ULONGLONG start;
        LONGLONG move;
        DWORD origin;
        HRESULT result;
        ULONGLONG position;  // afterwards
    };
    const Case cases[] = {
        {4, 3, STREAM_SEEK_SET, S_OK, 3},
        {4, 3, STREAM_SEEK_CUR, S_OK, 7},
        {4, -4, STREAM_SEEK_CUR, S_OK, 0},
        {4, -5, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 4},
        {4, -2, STREAM_SEEK_END, S_OK, 8},
        {4, 5, STREAM_SEEK_END, S_OK, 15},  // past the end is a place to write later
        {4, -11, STREAM_SEEK_END, STG_E_INVALIDFUNCTION, 4},
        {4, -1, STREAM_SEEK_SET, STG_E_INVALIDFUNCTION, 4},
        {4, INT64_MIN, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 4},
        {4, INT64_MAX, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 4},
        {4, 0, 7, STG_E_INVALIDFUNCTION, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "move " << c.move << " origin " << c.origin);
        Fixture f;
        f.stream->Seek(Move(LONGLONG(c.start)), STREAM_SEEK_SET, nullptr);
        ULARGE_INTEGER reported{};
        EXPECT_EQ(f.stream->Seek(Move(c.move), c.origin, &reported), c.result);
        EXPECT_EQ(Position(f.stream.Get()), c.position);
        if (c.result == S_OK) {
            EXPECT_EQ(reported.QuadPart, c.position);
        }
    }
}

TEST(HGlobalStreamTest, ReadsAndWritesAroundTheEnd) {
    struct Case {
        const char* name;
        ULONGLONG start;
        std::string write;  // written at `start` (nothing when empty)
        ULONG readAt0;      // then bytes read from the start
        std::string expected;
        SIZE_T blockSize;
    };
    const Case cases[] = {
        {"read inside", 0, "", 4, "0123", 10},
        {"read past the end stops there", 0, "", 20, "0123456789", 10},
        {"overwrite inside keeps the size", 2, "ab", 10, "01ab456789", 10},
        {"write across the end grows", 8, "abcd", 12, "01234567abcd", 12},
        {"write after a gap zero-fills it", 12, "z", 13, std::string("0123456789\0\0z", 13), 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (!c.write.empty()) {
            f.stream->Seek(Move(LONGLONG(c.start)), STREAM_SEEK_SET, nullptr);
            ULONG written = 0;
            EXPECT_EQ(f.stream->Write(c.write.data(), ULONG(c.write.size()), &written), S_OK);
            EXPECT_EQ(written, c.write.size());
            EXPECT_EQ(Position(f.stream.Get()), c.start + c.write.size());
        }
        f.stream->Seek(Move(0), STREAM_SEEK_SET, nullptr);
        EXPECT_EQ(ReadText(f.stream.Get(), c.readAt0), c.expected);
        EXPECT_EQ(GlobalSize(f.block), c.blockSize);
    }
}

TEST(HGlobalStreamTest, ReadAtTheEndGivesNothingAndSucceeds) {
    Fixture f;
    f.stream->Seek(Move(30), STREAM_SEEK_SET, nullptr);
    char byte = 0;
    ULONG got = 99;
    EXPECT_EQ(f.stream->Read(&byte, 1, &got), S_OK);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(f.stream->Read(nullptr, 1, &got), STG_E_INVALIDPOINTER);
}

TEST(HGlobalStreamTest, SetSizeTruncatesAndGrowsWithoutMovingThePosition) {
    Fixture f;
    f.stream->Seek(Move(6), STREAM_SEEK_SET, nullptr);
    ULARGE_INTEGER size;
    size.QuadPart = 3;
    ASSERT_EQ(f.stream->SetSize(size), S_OK);
    EXPECT_EQ(BlockText(f.block), "012");
    EXPECT_EQ(Position(f.stream.Get()), 6u);
    size.QuadPart = 5;
    ASSERT_EQ(f.stream->SetSize(size), S_OK);
    EXPECT_EQ(BlockText(f.block), std::string("012\0\0", 5));
}

TEST(HGlobalStreamTest, CallerLockMakesGrowthFailButLeavesTheBlockUsable) {
    Fixture f;
    char* held = static_cast<char*>(GlobalLock(f.block));
    ASSERT_NE(held, nullptr);
    f.stream->Seek(Move(0), STREAM_SEEK_END, nullptr);
    ULONG written = 7;
    EXPECT_EQ(f.stream->Write("more", 4, &written), STG_E_MEDIUMFULL);
    EXPECT_EQ(written, 0u);
    // Writes that fit still land at the caller's address.
    f.stream->Seek(Move(0), STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(f.stream->Write("X", 1, &written), S_OK);
    EXPECT_EQ(held[0], 'X');
    GlobalUnlock(f.block);
    EXPECT_EQ(BlockText(f.block), "X123456789");
}

TEST(HGlobalStreamTest, CloneSharesTheBlockWithItsOwnPosition) {
    Fixture f;
    f.stream->Seek(Move(3), STREAM_SEEK_SET, nullptr);
    ComPtr<IStream> clone;
    ASSERT_EQ(f.stream->Clone(clone.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Position(clone.Get()), 3u);  // starts where the original was
    EXPECT_EQ(ReadText(clone.Get(), 2), "34");
    EXPECT_EQ(Position(f.stream.Get()), 3u);
    f.stream->Write("AB", 2, nullptr);
    clone->Seek(Move(0), STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(ReadText(clone.Get(), 10), "012AB56789");
    HGLOBAL fromClone = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(clone.Get(), &fromClone), S_OK);
    EXPECT_EQ(fromClone, f.block);
}

TEST(HGlobalStreamTest, CopyToCopiesFromThePositionAndCounts) {
    Fixture f;
    ComPtr<IStream> target;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, target.ReleaseAndGetAddressOf()), S_OK);
    f.stream->Seek(Move(7), STREAM_SEEK_SET, nullptr);
    ULARGE_INTEGER size, read{}, written{};
    size.QuadPart = 100;
    ASSERT_EQ(f.stream->CopyTo(target.Get(), size, &read, &written), S_OK);
    EXPECT_EQ(read.QuadPart, 3u);
    EXPECT_EQ(written.QuadPart, 3u);
    HGLOBAL block = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(target.Get(), &block), S_OK);
    EXPECT_EQ(BlockText(block), "789");
}

TEST(HGlobalStreamTest, StatLockAndTransactionAnswers) {
    Fixture f;
    STATSTG stat;
    std::memset(&stat, 0xAB, sizeof(stat));
    ASSERT_EQ(f.stream->Stat(&stat, STATFLAG_DEFAULT), S_OK);
    EXPECT_EQ(stat.type, STGTY_STREAM);
    EXPECT_EQ(stat.cbSize.QuadPart, 10u);
    EXPECT_EQ(stat.pwcsName, nullptr);
    EXPECT_EQ(f.stream->Stat(nullptr, STATFLAG_NONAME), STG_E_INVALIDPOINTER);
    const ULARGE_INTEGER zero{};
    EXPECT_EQ(f.stream->LockRegion(zero, zero, 0), STG_E_INVALIDFUNCTION);
    EXPECT_EQ(f.stream->UnlockRegion(zero, zero, 0), STG_E_INVALIDFUNCTION);
    EXPECT_EQ(f.stream->Commit(STGC_DEFAULT), S_OK);
    EXPECT_EQ(f.stream->Revert(), S_OK);
}

TEST(HGlobalStreamTest, AnswersBothInterfacesAndRefusesForeignObjects) {
    Fixture f;
    ComPtr<ISequentialStream> sequential;
    EXPECT_EQ(f.stream.As(&sequential), S_OK);
    ComPtr<IStream> again;
    EXPECT_EQ(sequential.As(&again), S_OK);
    EXPECT_EQ(again.Get(), f.stream.Get());
    HGLOBAL block = nullptr;
    EXPECT_EQ(GetHGlobalFromStream(nullptr, &block), E_INVALIDARG);
    EXPECT_EQ(GetHGlobalFromStream(f.stream.Get(), nullptr), E_INVALIDARG);
    IStream* stream = nullptr;
    EXPECT_EQ(CreateStreamOnHGlobal(reinterpret_cast<HGLOBAL>(0x42), FALSE, &stream), E_INVALIDARG);
    EXPECT_EQ(stream, nullptr);
}

TEST(HGlobalStreamTest, DeleteOnReleaseDecidesWhoFreesTheBlock) {
    for (const BOOL deleteOnRelease : {FALSE, TRUE}) {
        SCOPED_TRACE(deleteOnRelease);
        HGLOBAL block = BlockWith("abc");
        ComPtr<IStream> stream, clone;
        ASSERT_EQ(CreateStreamOnHGlobal(block, deleteOnRelease, stream.ReleaseAndGetAddressOf()),
                  S_OK);
        ASSERT_EQ(stream->Clone(clone.ReleaseAndGetAddressOf()), S_OK);
        stream.Reset();
        EXPECT_EQ(GlobalSize(block), 3u) << "the clone still uses the block";
        clone.Reset();
        if (deleteOnRelease) {
            EXPECT_EQ(GlobalSize(block), 0u);
            EXPECT_EQ(GlobalFree(block), block) << "already freed";
        } else {
            EXPECT_EQ(BlockText(block), "abc");
            EXPECT_EQ(GlobalFree(block), nullptr);
        }
    }
}

TEST(HGlobalStreamTest, NewBlockGrowsWithWritesAndCanBeKept) {
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, FALSE, stream.ReleaseAndGetAddressOf()), S_OK);
    const std::vector<char> big(300000, 'q');
    ULONG written = 0;
    ASSERT_EQ(stream->Write(big.data(), ULONG(big.size()), &written), S_OK);
    ASSERT_EQ(stream->Write("end", 3, &written), S_OK);
    HGLOBAL block = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(stream.Get(), &block), S_OK);
    stream.Reset();
    const std::string text = BlockText(block);
    EXPECT_EQ(text.size(), big.size() + 3);
    EXPECT_EQ(text.substr(text.size() - 4), "qend");
    EXPECT_EQ(GlobalFree(block), nullptr);
}

}  // namespace
