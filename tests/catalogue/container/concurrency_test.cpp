// The folder watch adds and removes entries on its own thread while the user interface filters,
// sorts and walks the shown list; everything goes through the container's lock.
#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "tests/catalogue/container/container_fixture.h"

namespace containertest {
namespace {

constexpr int kFiles = 120;

std::u16string FileName(int i) {
    static const char16_t* const kExtensions[] = {u".jpg", u".txt", u".mp3", u".mp4"};
    std::u16string name = u"f";
    for (char c : std::to_string(i))
        name += static_cast<char16_t>(c);
    return name + kExtensions[i % 4];
}

TEST_F(ContainerTest, WatcherAndUserInterfaceShareTheLists) {
    for (int i = 0; i < kFiles; ++i)
        MakeFile(u"\\Busy\\" + FileName(i), 100 + static_cast<std::size_t>(i) * 10,
                 kBaseTime + i % 7);
    LoadSorted(u"\\Busy");

    std::atomic<bool> stop{false};
    std::thread watcher([&] {
        for (int round = 0; round < 30; ++round) {
            for (int i = round % 3; i < kFiles; i += 3) {
                const std::u16string name = FileName(i);
                container_->DeleteMedia(name.c_str());
                container_->AddMedia(name.c_str());
            }
        }
        stop = true;
    });

    static const DWORD kFilters[] = {FILTER_ALL, FILTER_IMAGE, FILTER_MUSIC, FILTER_VIDEO};
    static const DWORD kModes[] = {SORT_BY_NAME, SORT_BY_DATE, SORT_BY_SIZE, 0};
    int step = 0;
    while (!stop) {
        container_->ApplyFilter(kFilters[step % 4]);
        container_->Sort(kModes[step % 4]);
        container_->MoveCursor(step % 5);
        container_->NextOfKind(MEDIA_MUSIC);
        // The browser's paging: a walk over the shown list under the same lock.
        container_->Lock();
        int walked = 0;
        for (const CMediaItem* item : container_->ShownItems())
            walked += item->m_szName[0] == u'f' ? 1 : 0;
        EXPECT_EQ(walked, container_->GetShownCount());
        container_->Unlock();
        ++step;
    }
    watcher.join();

    // Every entry was deleted and added back: the folder is whole and consistent again.
    EXPECT_EQ(container_->GetTotalCount(), kFiles);
    ASSERT_EQ(container_->ApplyFilter(FILTER_ALL), 1);
    EXPECT_EQ(container_->GetShownCount(), kFiles);
    std::set<std::string> names;
    for (const CMediaItem* item : container_->ShownItems()) {
        names.insert(Name(item));
        EXPECT_EQ(container_->FindByName(item->m_szName), item);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kFiles));
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE) + container_->GetCount(MEDIA_DOCUMENT) +
                  container_->GetCount(MEDIA_MUSIC) + container_->GetCount(MEDIA_VIDEO),
              kFiles);
    EXPECT_GT(step, 0);
}

}  // namespace
}  // namespace containertest
