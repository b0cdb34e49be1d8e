#pragma once

#include "components/formplan.h"

namespace formtable {

inline constexpr FormControl kSmall[] = {
    {"GroupBox1", FormKind::GroupBox, -1, 8, 8, 150, 90, false, false, false, false, ""},
    {"Label_01", FormKind::Label, 0, 8, 20, 60, 13, true, true, false, false, "&Size <mm>:"},
    {"edSize", FormKind::LineEdit, 0, 72, 18, 70, 21, false, false, false, false, ""},
    {"sgrid", FormKind::Table, -1, 170, 8, 120, 150, false, false, false, false, ""},
    {"btGo", FormKind::PushButton, -1, 8, 170, 75, 23, false, false, true, true, ""},
    {"frame", FormKind::Other, -1, 100, 170, 10, 10, false, false, false, false, ""},
};

} // namespace formtable
