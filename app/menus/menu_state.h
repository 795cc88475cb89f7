// Describes the program's state for the menu rules: the container's cursor item and shown
// list, the file operator's selection count, the filter and the view in front.
#pragma once

#include "app/menus/menu_rules.h"

class CMediaContainer;
class CMediaItem;
class CFileOperator;

// The cursor item's own facts (kind, rights, capabilities, name); runs the item's rights lookup
// if nothing ran it yet.
void DescribeItem(CMediaItem* item, MenuState* state);

// The whole state, read under the container's lock. A null container describes an empty list.
MenuState DescribeMenuState(CMediaContainer* container, const CFileOperator* fileOperator,
                            DWORD filter, ViewMode viewMode);
