// The device file system's Win32 functions, for code that wants all of them at once.
#pragma once

#include "platform/fs/attributes.h"
#include "platform/fs/change_notify.h"
#include "platform/fs/device.h"
#include "platform/fs/errors.h"
#include "platform/fs/file_io.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/find.h"
#include "platform/fs/flash_card.h"
#include "platform/fs/special_folders.h"
#include "platform/fs/storage.h"
