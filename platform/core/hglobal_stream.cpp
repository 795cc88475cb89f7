// IStream over a movable global memory block. The stream's size is the block's size, so a caller
// that takes the block back with GetHGlobalFromStream finds exactly the bytes written. The block
// is locked only inside each call, so the caller may hold its own GlobalLock meanwhile (a
// locked block cannot move, so writes past its end then fail instead of growing it).
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <new>

#include "platform/core/com_object.h"
#include "platform/core/stream.h"

const IID IID_ISequentialStream = {
    0x0c733a30, 0x2a1c, 0x11ce, {0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d}};
const IID IID_IStream = {
    0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

// The block shared by a stream and its clones; freed with the last of them when asked.
class SharedBlock {
  public:
    SharedBlock(HGLOBAL handle, bool deleteOnRelease)
        : handle_(handle), deleteOnRelease_(deleteOnRelease) {}
    ~SharedBlock() {
        if (deleteOnRelease_)
            GlobalFree(handle_);
    }
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;

    HGLOBAL Handle() const { return handle_; }
    // Clones may be used on different threads; every call on the block holds this.
    std::mutex& Mutex() { return mutex_; }

  private:
    HGLOBAL handle_;
    bool deleteOnRelease_;
    std::mutex mutex_;
};

// The block's address for the length of one call.
class ScopedBlockLock {
  public:
    explicit ScopedBlockLock(HGLOBAL handle)
        : handle_(handle), bytes_(static_cast<BYTE*>(GlobalLock(handle))) {}
    ~ScopedBlockLock() {
        if (bytes_)
            GlobalUnlock(handle_);
    }
    ScopedBlockLock(const ScopedBlockLock&) = delete;
    ScopedBlockLock& operator=(const ScopedBlockLock&) = delete;

    BYTE* Bytes() const { return bytes_; }

  private:
    HGLOBAL handle_;
    BYTE* bytes_;
};

constexpr ULONG kCopyChunk = 64 * 1024;

class HGlobalStream final : public ComObject<HGlobalStream, IStream> {
  public:
    HGlobalStream(std::shared_ptr<SharedBlock> block, ULONGLONG position)
        : block_(std::move(block)), position_(position) {}

    HGLOBAL Handle() const { return block_->Handle(); }

    // IStream derives from ISequentialStream, so ComObject cannot list both.
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object && IsEqualIID(iid, IID_ISequentialStream)) {
            *object = static_cast<ISequentialStream*>(this);
            AddRef();
            return S_OK;
        }
        return ComObject::QueryInterface(iid, object);
    }

    HRESULT Read(void* buffer, ULONG size, ULONG* read) override {
        if (read)
            *read = 0;
        if (!buffer && size > 0)
            return STG_E_INVALIDPOINTER;
        std::lock_guard lock(block_->Mutex());
        const ULONGLONG total = GlobalSize(Handle());
        if (position_ >= total || size == 0)
            return S_OK;
        const ULONG count = static_cast<ULONG>(std::min<ULONGLONG>(size, total - position_));
        ScopedBlockLock bytes(Handle());
        if (!bytes.Bytes())
            return STG_E_READFAULT;
        std::memcpy(buffer, bytes.Bytes() + position_, count);
        position_ += count;
        if (read)
            *read = count;
        return S_OK;
    }

    HRESULT Write(const void* buffer, ULONG size, ULONG* written) override {
        if (written)
            *written = 0;
        if (!buffer && size > 0)
            return STG_E_INVALIDPOINTER;
        if (size == 0)
            return S_OK;
        std::lock_guard lock(block_->Mutex());
        const ULONGLONG end = position_ + size;
        if (end > GlobalSize(Handle())) {
            if (const HRESULT hr = Resize(end); FAILED(hr))
                return hr;
        }
        ScopedBlockLock bytes(Handle());
        if (!bytes.Bytes())
            return STG_E_WRITEFAULT;
        std::memcpy(bytes.Bytes() + position_, buffer, size);
        position_ = end;
        if (written)
            *written = size;
        return S_OK;
    }

    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        std::lock_guard lock(block_->Mutex());
        ULONGLONG base = 0;
        switch (origin) {
            case STREAM_SEEK_SET:
                break;
            case STREAM_SEEK_CUR:
                base = position_;
                break;
            case STREAM_SEEK_END:
                base = GlobalSize(Handle());
                break;
            default:
                return STG_E_INVALIDFUNCTION;
        }
        // Positions stay within what a block can ever hold; before the start is refused.
        constexpr ULONGLONG kLimit = std::numeric_limits<LONGLONG>::max();
        const LONGLONG delta = move.QuadPart;
        if (delta < 0 && static_cast<ULONGLONG>(-(delta + 1)) + 1 > base)
            return STG_E_INVALIDFUNCTION;
        if (delta > 0 && static_cast<ULONGLONG>(delta) > kLimit - base)
            return STG_E_INVALIDFUNCTION;
        position_ = delta < 0 ? base - (static_cast<ULONGLONG>(-(delta + 1)) + 1)
                              : base + static_cast<ULONGLONG>(delta);
        if (newPosition)
            newPosition->QuadPart = position_;
        return S_OK;
    }

    HRESULT SetSize(ULARGE_INTEGER newSize) override {
        std::lock_guard lock(block_->Mutex());
        return Resize(newSize.QuadPart);
    }

    HRESULT CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                   ULARGE_INTEGER* written) override {
        if (read)
            read->QuadPart = 0;
        if (written)
            written->QuadPart = 0;
        if (!target)
            return STG_E_INVALIDPOINTER;
        // Through a buffer, so the target may even be a clone of this stream.
        std::unique_ptr<BYTE[]> chunk(new (std::nothrow) BYTE[kCopyChunk]);
        if (!chunk)
            return STG_E_INSUFFICIENTMEMORY;
        ULONGLONG left = size.QuadPart;
        while (left > 0) {
            ULONG got = 0;
            if (const HRESULT hr =
                    Read(chunk.get(), ULONG(std::min<ULONGLONG>(left, kCopyChunk)), &got);
                FAILED(hr))
                return hr;
            if (got == 0)
                break;
            if (read)
                read->QuadPart += got;
            ULONG put = 0;
            const HRESULT hr = target->Write(chunk.get(), got, &put);
            if (written)
                written->QuadPart += put;
            if (FAILED(hr))
                return hr;
            left -= got;
        }
        return S_OK;
    }

    HRESULT Commit(DWORD) override { return S_OK; }  // memory has nothing to flush
    HRESULT Revert() override { return S_OK; }       // and no transaction to undo
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }

    HRESULT Stat(STATSTG* stat, DWORD) override {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        std::lock_guard lock(block_->Mutex());
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;  // a memory stream has no name, whatever the flags ask
        stat->cbSize.QuadPart = GlobalSize(Handle());
        return S_OK;
    }

    HRESULT Clone(IStream** stream) override {
        if (!stream)
            return STG_E_INVALIDPOINTER;
        *stream = nullptr;
        ULONGLONG position = 0;
        {
            std::lock_guard lock(block_->Mutex());
            position = position_;
        }
        auto clone = HGlobalStream::Make(block_, position);
        if (!clone)
            return E_OUTOFMEMORY;
        *stream = clone.Detach();
        return S_OK;
    }

  private:
    // Called with the block's mutex held. Growth zero-fills, so a write after a seek past the
    // end leaves zeros in the gap rather than old heap contents.
    HRESULT Resize(ULONGLONG size) {
        if (size > std::numeric_limits<SIZE_T>::max())
            return STG_E_MEDIUMFULL;
        if (!GlobalReAlloc(Handle(), static_cast<SIZE_T>(size), GMEM_MOVEABLE | GMEM_ZEROINIT))
            return STG_E_MEDIUMFULL;
        return S_OK;
    }

    std::shared_ptr<SharedBlock> block_;
    ULONGLONG position_;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** stream) {
    if (!stream)
        return E_INVALIDARG;
    *stream = nullptr;
    const bool ownBlock = block == nullptr;
    if (ownBlock) {
        block = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (!block)
            return E_OUTOFMEMORY;
    } else if (!GlobalLock(block)) {
        return E_INVALIDARG;  // not a block at all
    } else {
        GlobalUnlock(block);
    }
    std::shared_ptr<SharedBlock> shared;
    try {
        shared = std::make_shared<SharedBlock>(block, deleteOnRelease != FALSE);
    } catch (const std::bad_alloc&) {
        if (ownBlock)
            GlobalFree(block);
        return E_OUTOFMEMORY;
    }
    auto made = HGlobalStream::Make(shared, 0);
    if (!made) {
        if (ownBlock && !deleteOnRelease)
            GlobalFree(
                block);  // nobody else knows this block; with deleteOnRelease `shared` frees it
        return E_OUTOFMEMORY;
    }
    *stream = made.Detach();
    return S_OK;
}

HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* block) {
    if (!stream || !block)
        return E_INVALIDARG;
    const auto* ours = dynamic_cast<const HGlobalStream*>(stream);
    if (!ours)
        return E_INVALIDARG;
    *block = ours->Handle();
    return S_OK;
}
