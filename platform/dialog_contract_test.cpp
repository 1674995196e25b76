// One contract for both backends: this file is built into the test backend's tests and into the
// Qt backend's, so a dialog procedure sees the same messages, data, controls and results on each.
#include "platform/dialog_contract_test.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace lekta;

namespace {

struct Record {
    std::vector<uint32_t> seen;
    intptr_t init_param = 0;
    int foreign_data = 0;  // messages whose dialog_data was not this record
};

intptr_t recording_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    auto* r = static_cast<Record*>(plat::dialog_data(dialog));
    if (!r) return 0;
    r->seen.push_back(message);
    if (message == plat::WM_INITDIALOG) r->init_param = lparam;
    if (message == plat::WM_COMMAND && plat::command_id(wparam) == plat::IDCANCEL)
        plat::end_dialog(dialog, plat::IDCANCEL);
    if (message == plat::WM_LBUTTONDOWN) plat::end_dialog(dialog, lparam);
    return 0;
}

constexpr std::array<plat::ControlTemplate, 3> CONTROLS = {{
    {1001, plat::ControlKind::list_box, nullptr, 4, 4, 60, 60, plat::CS_SORT},
    {1004, plat::ControlKind::auto_radio, u"224", 70, 4, 40, 10, 0},
    {1005, plat::ControlKind::auto_radio, u"5D0", 70, 16, 40, 10, 0},
}};
const plat::DialogTemplate TEMPLATE{u"Contract", 120, 100, CONTROLS};

TEST(DialogContract, MessagesDataAndTheResultOfATap) {
    Record record;
    const intptr_t result = contract::run(TEMPLATE, recording_proc, 77, &record,
                                          [](plat::Window* d) { contract::tap(d, 10, 20); });
    EXPECT_EQ(10 | 20 << 16, result);
    EXPECT_EQ(77, record.init_param);
    ASSERT_GE(record.seen.size(), 4u);
    EXPECT_EQ(plat::WM_INITDIALOG, record.seen[0]);
    EXPECT_EQ(plat::WM_SIZE, record.seen[1]);
    EXPECT_EQ(plat::WM_DESTROY, record.seen.back());
    const auto count = [&record](uint32_t m) {
        return std::count(record.seen.begin(), record.seen.end(), m);
    };
    EXPECT_EQ(1, count(plat::WM_INITDIALOG));
    EXPECT_EQ(1, count(plat::WM_LBUTTONDOWN));
    EXPECT_EQ(1, count(plat::WM_DESTROY));
    EXPECT_EQ(nullptr, plat::dialog_data(nullptr));
}

TEST(DialogContract, TheCloseBoxCancels) {
    Record record;
    EXPECT_EQ(plat::IDCANCEL,
              contract::run(TEMPLATE, recording_proc, 0, &record, contract::close_box));
    EXPECT_EQ(plat::WM_DESTROY, record.seen.back());
}

TEST(DialogContract, ControlsKeepWhatTheProgramSets) {
    Record record;
    const intptr_t result =
        contract::run(TEMPLATE, recording_proc, 0, &record, [](plat::Window* d) {
            // A sorted list ignores case; a prefix search wraps round.
            for (const char16_t* name : {u"Tahoma", u"arial", u"David", u"Courier"})
                plat::list_add(d, 1001, name);
            EXPECT_EQ(u"arial", plat::list_text(d, 1001, 0));
            EXPECT_EQ(u"Tahoma", plat::list_text(d, 1001, 3));
            EXPECT_EQ(2, plat::list_select_prefix(d, 1001, -1, u"da"));
            EXPECT_EQ(0, plat::list_select_prefix(d, 1001, 2, u"A"));
            EXPECT_EQ(-1, plat::list_select_prefix(d, 1001, -1, u"Z"));
            EXPECT_EQ(0, plat::list_selection(d, 1001));
            plat::check_control(d, 1005, true);
            EXPECT_FALSE(plat::control_checked(d, 1004));
            EXPECT_TRUE(plat::control_checked(d, 1005));
            plat::check_control(d, 1005, false);
            EXPECT_FALSE(plat::control_checked(d, 1005));
            plat::end_dialog(d, 3);
        });
    EXPECT_EQ(3, result);
}

}  // namespace
