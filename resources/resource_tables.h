// The program's menus, soft-key bars and dialog templates, as the platform's resource catalogue
// takes them. Each table is sorted by id; the spans point at constant storage.
#pragma once

#include <span>

#include "platform/user/resource_tables.h"
#include "resources/string_table.h"

std::span<const platform::MenuResource> ProgramMenus();
std::span<const platform::SoftKeyBarResource> ProgramSoftKeyBars();
std::span<const platform::DialogResource> ProgramDialogs();
