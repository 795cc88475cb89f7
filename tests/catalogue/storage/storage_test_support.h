// A throw-away device for the storage tests: a root, an optional card that can be put in and
// pulled, its slot value in a private registry, the program's strings and skin bitmaps, and an
// owner window that forwards the folder path menu's owner drawing. A script runs inside the
// menu's modal loop to look at what is listed and choose an item.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/storage/folder_path_menu.h"
#include "platform/controls/menu.h"
#include "tests/support/temp_dir.h"

namespace storagetest {

// The slot value as the card's driver might have left it.
enum class Slot { Absent, Zero, One, Text };

class StorageTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Mounts a card folder (created when missing) and sets the slot value to 0.
    void InsertCard();
    // Removes the card's folder and the slot value, as pulling the card does.
    void PullCard();
    void SetSlot(Slot slot);
    // Creates a folder (and its parents) at a device path such as "\My Documents\Trip".
    void MakeFolder(const std::string& devicePath) const;
    void RemoveFolder(const std::string& devicePath) const;
    void MakeFile(const std::string& devicePath) const;
    std::string Host(const std::string& devicePath) const;

    testing_support::TempDir dir_;
    bool cardConfigured_ = false;
};

// The folder path menu test: the menu singleton with a visible owner window.
class MenuTest : public StorageTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    CFolderPathMenu& Menu() const { return *menu_; }
    HWND Owner() const { return owner_; }

    // Shows the menu at (x, y), lets `look` see the open menu, then taps the item with command
    // `choose` (0: cancels with Escape). The path Show returned, or nullopt for none.
    std::optional<std::u16string> ShowAndChoose(
        UINT choose, const std::function<void(const platform::OpenMenu&)>& look = {}, int x = 0,
        int y = 40);
    // What the last ShowAndChoose saw open.
    const platform::OpenMenu& LastShown() const { return lastShown_; }

    // The menu's items as texts ("-" for the separator, "#5000" for an owner-drawn item).
    std::vector<std::u16string> Items() const;
    // The command id of the radio-checked item, or 0.
    UINT CheckedId() const;

    // Measure and draw records the owner forwarded, and whether the menu took them.
    struct Forwarded {
        UINT message;
        UINT itemId;
        BOOL handled;
        RECT rect;
    };
    static std::vector<Forwarded>& ForwardLog();

  private:
    static LRESULT CALLBACK OwnerProc(HWND, UINT, WPARAM, LPARAM);
    HWND owner_ = nullptr;
    CFolderPathMenu* menu_ = nullptr;
    platform::OpenMenu lastShown_;
};

}  // namespace storagetest
