#include "files/operator/file_operator.h"

namespace {
CFileOperator* g_pFileOperator = nullptr;
}

CFileOperator* CFileOperator::GetFileOperator() {
    if (!g_pFileOperator)
        g_pFileOperator = new CFileOperator();
    return g_pFileOperator;
}

void CFileOperator::ReleaseFileOperator() {
    delete g_pFileOperator;
    g_pFileOperator = nullptr;
}
