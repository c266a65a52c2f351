#pragma once
// The engine's shared base: frame timer, window base, message hooks, platform-wrapper
// base, library loader, cosine table and rectangles.

#include "engine/timer/control_subclass.h"
#include "engine/timer/cos_table.h"
#include "engine/timer/direct_x.h"
#include "engine/timer/dx_form.h"
#include "engine/timer/dx_timer.h"
#include "engine/timer/geometry.h"
#include "engine/timer/library_loader.h"
