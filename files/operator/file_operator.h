// The file commands' owner: for now the selection count that the container, the browser and the
// menus keep in step with the items' selected flags. The clipboard and the commands join it with
// the file operations.
#pragma once

#include "platform/core/types.h"

class CFileOperator {
  public:
    static CFileOperator* GetFileOperator();
    static void ReleaseFileOperator();

    CFileOperator(const CFileOperator&) = delete;
    CFileOperator& operator=(const CFileOperator&) = delete;

    int GetSelectedCount() const { return m_nSelectedCount; }
    void SetSelectedCount(int count) { m_nSelectedCount = count < 0 ? 0 : count; }
    void IncreaseSelectedCount() { ++m_nSelectedCount; }
    // Never below 0: a deselect after a reset must not leave a negative count.
    void DecreaseSelectedCount() {
        if (m_nSelectedCount > 0)
            --m_nSelectedCount;
    }

  private:
    CFileOperator() = default;
    ~CFileOperator() = default;

    int m_nSelectedCount = 0;
};
