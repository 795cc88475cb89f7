// One entry the gallery shows: a folder or a file of one of four kinds. The container creates
// items from directory entries with name, folder, time and size; thumbnails, picture sizes,
// rights and positions are filled lazily on first use and cached in the item.
#pragma once

#include <memory>
#include <string>

#include "catalogue/media_types.h"
#include "imaging/rights/drm_info.h"
#include "platform/core/types.h"
#include "platform/fs/find.h"

class ImageCtrl;

// GPS position read from a picture's EXIF data.
struct MediaPosition {
    float fAltitude;
    int nLatitudeDegrees;
    int nLatitudeMinutes;
    float fLatitudeSeconds;
    int nLongitudeDegrees;
    int nLongitudeMinutes;
    float fLongitudeSeconds;
};

// Where a picture or video item's thumbnail sits before one is made.
constexpr RECT kDefaultThumbRect{17, 19, 48, 43};

class CMediaItem {
  public:
    virtual ~CMediaItem();
    CMediaItem(const CMediaItem&) = delete;
    CMediaItem& operator=(const CMediaItem&) = delete;

    // The playing length; 0 for folders, pictures and documents.
    virtual DWORD GetLength();
    // Makes sure `m_hThumbnail` holds a picture for a cell of that size; 1 when it made one (or,
    // for an expired file, switched to the expired-content icon), 0 when it kept the old one or
    // nothing could be made.
    virtual int EnsureThumbnail(int cellWidth, int cellHeight);
    virtual void FreeThumbnail();
    // A new bitmap for a width x height box; sets `m_rcThumb`.
    virtual HBITMAP CreateThumbnailBitmap(int width, int height) = 0;

    // folder + "\" + name; FALSE when it does not fit in `size` units.
    BOOL GetFullPath(LPWSTR buffer, int size) const;
    std::u16string FullPath() const;

    // Asks the rights service for this file's record (not for folders), replacing the one held.
    // A record makes the item protected and runs the expiry check at once.
    void LookUpRights();
    // Re-checks an unexpired record's expiry; the result, cached in `m_dwDrmExpired`.
    DWORD CheckExpiry();
    // A rights record exists: the item counts as protected.
    bool IsProtected() const { return m_pDrmInfo != nullptr; }

    // Menu capability tests, each 1 or 0.
    int CanSend();
    int CanSetAs();
    int CanEdit();

    WCHAR m_szName[MAX_PATH] = {};
    WCHAR m_szFolder[MAX_PATH] = {};
    SYSTEMTIME m_stModified = {};
    double m_dSizeKB = 0;
    MediaType m_dwType;
    DWORD m_dwSelected = 0;
    DWORD m_dwIsDrm = 0;
    RECT m_rcThumb = kDefaultThumbRect;
    HBITMAP m_hThumbnail = nullptr;
    DrmFileInfoPtr m_pDrmInfo;
    DWORD m_dwHasPosition = 0;
    DWORD m_dwPositionRead = 0;
    DWORD m_dwUsedPlaceholder = 0;
    DWORD m_dwDrmChecked = 0;
    DWORD m_dwDrmExpired = 0;
    MediaPosition m_position = {};

  protected:
    explicit CMediaItem(MediaType type) : m_dwType(type) {}
    // Bitmap resource `id` centred in width x height, then moved right and up by S(2). Icon
    // items keep the magenta key (the grid draws them keyed); pictures and videos, which the grid
    // stretches unkeyed, get the cell background in its place.
    HBITMAP CreateIconBitmap(UINT id, int width, int height);
    // The expired-content icon centred in the grid cell's box.
    HBITMAP CreateExpiredBitmap();
    // The folder/document/sound behaviour of EnsureThumbnail (expiry first, icon kept).
    int EnsureIconThumbnail(int cellWidth, int cellHeight);
    // The picture/video behaviour: a thumbnail is kept only while `thumbnailOk` says it was
    // decoded; otherwise it is made again for the cell less its 2-pixel margin.
    int EnsureDecodedThumbnail(int cellWidth, int cellHeight, DWORD thumbnailOk);
    // Deletes the bitmap and puts the rectangle back where a thumbnail sits before one is made.
    void FreeDecodedThumbnail(DWORD* thumbnailOk);
    // Runs the rights lookup once if nothing has run it yet, so the capability tests judge a
    // protected file as protected.
    void EnsureRightsChecked();
};

class CFolderItem : public CMediaItem {
  public:
    CFolderItem() : CMediaItem(MEDIA_FOLDER) {}
    HBITMAP CreateThumbnailBitmap(int width, int height) override;

    DWORD m_dwIsStorageCard = 0;
};

class CImageItem : public CMediaItem {
  public:
    CImageItem();
    int EnsureThumbnail(int cellWidth, int cellHeight) override;
    void FreeThumbnail() override;
    HBITMAP CreateThumbnailBitmap(int width, int height) override;

    // The pixel size, read once through the image control (the protected path for protected
    // files); a cached 0 x 0 reads again. 1 when the size is known.
    int GetImageSize(int* width, int* height);
    // Re-reads the pixel size and forgets the decode test (after the file changed).
    void RereadImageSize();
    // The image control's decode test, run once and cached.
    int IsDecodable();
    // Reads the GPS position once (JPEG names only); 1 when the picture has one.
    int ReadPosition();

    DWORD m_dwWidth = 0;
    DWORD m_dwHeight = 0;
    DWORD m_dwThumbnailOk = 0;
    ImageCtrl* m_pImageCtrl = nullptr;

  private:
    int m_nDecodable = -1;  // -1 until the decode test ran
};

class CDocumentItem : public CMediaItem {
  public:
    CDocumentItem() : CMediaItem(MEDIA_DOCUMENT) {}
    HBITMAP CreateThumbnailBitmap(int width, int height) override;
};

class CMusicItem : public CMediaItem {
  public:
    CMusicItem() : CMediaItem(MEDIA_MUSIC) {}
    DWORD GetLength() override { return m_dwLength; }
    HBITMAP CreateThumbnailBitmap(int width, int height) override;

    DWORD m_dwLength = 0;
};

class CVideoItem : public CMediaItem {
  public:
    CVideoItem();
    DWORD GetLength() override;
    int EnsureThumbnail(int cellWidth, int cellHeight) override;
    void FreeThumbnail() override;
    HBITMAP CreateThumbnailBitmap(int width, int height) override;

    ImageCtrl* m_pImageCtrl = nullptr;
    DWORD m_dwLength = 0;
    DWORD m_dwWidth = 0;
    DWORD m_dwHeight = 0;
    DWORD m_dwThumbnailOk = 0;

  private:
    bool m_bInfoRead = false;
};

// The kind of a file name by its extension (the text from the last "."), or MEDIA_UNKNOWN.
MediaType ClassifyMediaName(LPCWSTR name);
// The directory entry's size in kilobytes.
double SizeInKB(DWORD sizeHigh, DWORD sizeLow);
// An item of the class for `type` with name, folder, modified and (for files) sizeKB filled from
// the entry; null for MEDIA_UNKNOWN.
std::unique_ptr<CMediaItem> CreateMediaItem(MediaType type, const WIN32_FIND_DATAW& entry,
                                            LPCWSTR folder);
