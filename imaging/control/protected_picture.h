// A protected picture file opened through the file-rights functions and read whole, so the
// imaging service can decode its clear content from memory.
#pragma once

#include "imaging/control/image_ctrl.h"

class ProtectedPicture {
  public:
    // Opens `path` for reading (share read, existing only) and reads it whole; a file that
    // cannot be opened or read leaves no content, and CreateImage then fails.
    ProtectedPicture(ImageCtrl& ctrl, LPCWSTR path);
    ~ProtectedPicture();
    ProtectedPicture(const ProtectedPicture&) = delete;
    ProtectedPicture& operator=(const ProtectedPicture&) = delete;

    // The picture over the content read; the image must be released before this object dies,
    // since it reads the buffer in place.
    HRESULT CreateImage(IImagingFactory* factory, IImage** image) const;

  private:
    HANDLE file_ = nullptr;
    DWORD size_ = 0;
    BYTE* buffer_ = nullptr;
};
