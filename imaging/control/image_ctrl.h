// The process-wide image utility behind the thumbnail grid and the small pictures of the other
// views: measures pictures, makes cell thumbnails of plain and protected files, cuts a rectangle
// out of a large RGB565 bitmap, makes off-screen window bitmaps. Used from the UI thread only.
// Every failure releases what it obtained and answers none, 0 or 0 x 0; messages go to the debug
// output.
#pragma once

#include "platform/core/types.h"
#include "platform/imaging/imaging.h"

class ImageCtrl {
  public:
    ImageCtrl() = default;
    ~ImageCtrl();
    ImageCtrl(const ImageCtrl&) = delete;
    ImageCtrl& operator=(const ImageCtrl&) = delete;

    // CoInitializeEx and the imaging factory; 1, or 0 when the factory cannot be made.
    int InitImageCtrl();
    // Releases the factory and balances InitImageCtrl's CoInitializeEx.
    void ReleaseImageCtrl();

    // 1 and the picture's size, or 0 and 0 x 0.
    int GetImageSize(LPCWSTR path, int* width, int* height);
    // The same for a protected file, read through the file-rights functions.
    int GetProtectedImageSize(LPCWSTR path, int* width, int* height);
    // 1 when the imaging service can open the file as a picture.
    int CanDecode(LPCWSTR path);

    // A bitmap of the picture fitted to a cell, and where it sits in the cell; none on failure.
    HBITMAP GetThumbnail(LPCWSTR path, RECT* thumbRect, int cellWidth, int cellHeight);
    HBITMAP GetProtectedThumbnail(LPCWSTR path, RECT* thumbRect, int cellWidth, int cellHeight);

    // A DIB section of the picture at its own size in the display's depth; none on failure.
    HBITMAP ImageToBitmap(IImage* image);
    // Copies `rect` of the RGB565 bitmap `*source` into a new bitmap. The source is released and
    // `*source` cleared in every case that reaches the copy; a rectangle that is empty or not
    // wholly inside the source is refused before that, leaving the source alone.
    IBitmapImage* CropBitmap(IBitmapImage** source, const RECT& rect);
    // Makes `*memDC` if it is none, selects a new window-compatible width x height bitmap into it
    // (returned in `*bitmap`) and returns the bitmap it replaced.
    HBITMAP CreateWindowBmp(HDC* memDC, HBITMAP* bitmap, int width, int height, HWND window);
    // The whole file behind `file` in a LocalAlloc'd buffer the caller frees. A short read
    // answers S_OK with no buffer; a failed size or allocation HRESULT_FROM_WIN32(GetLastError()).
    HRESULT ReadWholeFile(HANDLE file, DWORD* size, BYTE** buffer);

    IImagingFactory* Factory() const { return m_ptImgFactory; }

  private:
    IImagingFactory* m_ptImgFactory = nullptr;
    bool m_bComInitialized = false;
};

// The instance, made (and initialised) on first use; DestroyImageCtrl releases it at exit.
ImageCtrl* GetImageCtrl();
void DestroyImageCtrl();

// Where a w x h picture sits in a W x H cell: centred at its own size when smaller in both
// directions, else fitted by the binding side; width and height made even. An empty cell or
// picture gives an empty rectangle.
RECT ThumbnailRect(int cellWidth, int cellHeight, int width, int height);
