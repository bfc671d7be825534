// The kinds of control the windows are made of, with the state each keeps and the events each
// raises when code or a user changes it: the one header callers include. No drawing and no
// toolkit: a back end observes them.
#pragma once

#include "ui/controls_bars.h"
#include "ui/controls_dialog.h"
#include "ui/controls_grid.h"
#include "ui/controls_lists.h"
#include "ui/controls_pictures.h"
#include "ui/controls_text.h"
