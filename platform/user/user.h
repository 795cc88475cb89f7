// The whole window layer: windows and classes, messages and timers, painting, focus and
// activation, metrics, and running work on the UI thread.
#pragma once

#include "platform/user/focus.h"
#include "platform/user/message_loop.h"
#include "platform/user/messages.h"
#include "platform/user/metrics.h"
#include "platform/user/paint.h"
#include "platform/user/ui_thread.h"
#include "platform/user/window.h"
