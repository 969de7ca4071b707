// The main window's macro page in the test process: its controls, their places at the
// window's size and their start states.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "FileBytes.h"
#include "FileDialogDriver.h"
#include "FileProbe.h"
#include "MessageBoxAnswerer.h"
#include "ModalScript.h"
#include "RawDb.h"
#include "TempFolder.h"
#include "WindowSearch.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/KeyboardDlg.h"
#include "device/DeviceLink.h"
#include "simkeyboard/SimKeyboard.h"
#include "ui/controls/CImageButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MListBox.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/CRecordList.h"

using namespace TESK;

namespace {

class KeyboardDlgMacroPageTest : public testsupport::MainWindowFixture {
 protected:
  // The keyboard connected and the macro list filled from the store.
  void WithMacroList() {
    Connected();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return m_dlg->m_macroList->GetItemCount() > 0; }, 10000));
  }
  // Selects a row of the macro list as a click on it does.
  void SelectMacro(int row) {
    m_dlg->m_macroList->SetCurSel(row);
    m_dlg->m_macroList->SendMessageW(NOTIFY_CLICKED, row, 0);
  }
  std::vector<std::wstring> ListedEvents() {
    std::vector<std::wstring> rows;
    for (const RecordItem* item : m_dlg->m_recordList->GetRecordItems()) {
      rows.push_back(std::wstring(item->name) + L"/" + std::to_wstring(item->kind) + L"/" + std::to_wstring(item->code) +
                     L"/" + std::to_wstring(item->delay));
    }
    return rows;
  }
};

template <class T>
bool Is(MControl* control) {
  return dynamic_cast<T*>(control) != nullptr;
}

TEST_F(KeyboardDlgMacroPageTest, ThePageIsBuiltAndPlacedAt1400x860) {
  KeyboardDlg& dlg = Open();
  struct Row {
    MControl* control;
    UINT id;
    bool (*is)(MControl*);
    CRect rect;
    int visible;
  };
  const CRect none;
  const CRect value(915, 580, 1205, 620);
  const CRect record(190, 730, 470, 790);
  const Row rows[] = {
      {dlg.m_areaMacro, 202, Is<CRoundArea>, {180, 70, 1390, 850}, 1},
      {dlg.m_textMacroProfile, 204, Is<MText>, none, 1},
      {dlg.m_comboProfileMacro, 205, Is<MComboBox>, none, 1},
      {dlg.m_btnMacroProfileMenu, 206, Is<MImageButton>, none, 1},
      {dlg.m_btnMacroProfileExport, 208, Is<MImageButton>, none, 1},
      {dlg.m_btnMacroProfileImport, 207, Is<MImageButton>, none, 1},
      {dlg.m_areaMacroList, 209, Is<CRoundArea>, {190, 140, 470, 360}, 1},
      {dlg.m_textMacroListTitle, 212, Is<MText>, {190, 100, 370, 130}, 1},
      {dlg.m_macroList, 213, Is<MListBox>, {195, 145, 460, 355}, 1},
      {dlg.m_areaMacroSettings, 210, Is<CRoundArea>, {190, 430, 470, 650}, 1},
      {dlg.m_areaEventEditor, 210, Is<CRoundArea>, {880, 140, 1380, 790}, 1},
      {dlg.m_textEventEditorTitle, 214, Is<MText>, {880, 100, 1140, 130}, 1},
      {dlg.m_textInsertPos, 215, Is<MText>, {910, 160, 980, 190}, 1},
      {dlg.m_textEventType, 216, Is<MText>, {910, 350, 980, 380}, 1},
      {dlg.m_textEventValue, 217, Is<MText>, {910, 540, 980, 570}, 1},
      {dlg.m_comboInsertPos, 218, Is<MComboBox>, none, 1},
      {dlg.m_radioInsertAtCursor, 219, Is<CRadioButton>, {930, 220, 1180, 250}, 1},
      {dlg.m_radioInsertAtEnd, 220, Is<CRadioButton>, {930, 270, 1180, 300}, 1},
      {dlg.m_radioEventKey, 221, Is<CRadioButton>, {930, 410, 1180, 440}, 1},
      {dlg.m_radioEventMouse, 222, Is<CRadioButton>, {930, 460, 1180, 490}, 1},
      {dlg.m_radioEventDelay, 223, Is<CRadioButton>, none, 1},
      {dlg.m_editEventKey, 224, Is<MEdit>, value, 1},
      {dlg.m_comboEventMouse, 226, Is<MComboBox>, value, 1},
      {dlg.m_editEventDelay, 225, Is<MEdit>, value, 1},
      {dlg.m_btnInsertEvent, 227, Is<MButton>, {1030, 640, 1110, 670}, 1},
      {dlg.m_btnNewMacro, 228, Is<MButton>, none, 1},
      {dlg.m_btnDeleteMacro, 229, Is<MButton>, none, 1},
      {dlg.m_btnRenameMacro, 230, Is<MButton>, none, 1},
      {dlg.m_btnExportMacro, 232, Is<MImageButton>, none, 1},
      {dlg.m_btnImportMacro, 231, Is<MImageButton>, none, 1},
      {dlg.m_btnEditMacroName, 233, Is<MButton>, none, 1},
      {dlg.m_textMacroHint, 234, Is<MText>, none, 1},
      {dlg.m_textMacroSettingsTitle, 256, Is<MText>, {190, 390, 390, 420}, 1},
      {dlg.m_textPlayTimes, 236, Is<MText>, {230, 450, 330, 480}, 1},
      {dlg.m_editPlayTimes, 235, Is<MEdit>, {330, 450, 410, 480}, 1},
      {dlg.m_radioDelayRecorded, 237, Is<CRadioButton>, {200, 490, 450, 520}, 1},
      {dlg.m_radioDelayNone, 238, Is<CRadioButton>, {200, 530, 450, 560}, 1},
      {dlg.m_radioDelayFixed, 239, Is<CRadioButton>, {200, 570, 330, 600}, 1},
      {dlg.m_editFixedDelay, 240, Is<MEdit>, {355, 570, 420, 600}, 1},
      {dlg.m_textDelayUnit, 241, Is<MText>, {420, 570, 510, 600}, 1},
      {dlg.m_btnRecordStart, 242, Is<MButton>, record, 1},
      {dlg.m_btnRecordStop, 243, Is<MButton>, record, 0},
      {dlg.m_textEventListTitle, 245, Is<MText>, {490, 100, 650, 130}, 1},
      {dlg.m_btnEventUp, 246, Is<CImageButton>, {810, 110, 840, 140}, 1},
      {dlg.m_btnEventDown, 247, Is<CImageButton>, {840, 110, 870, 140}, 1},
      {dlg.m_btnEventDelete, 248, Is<CImageButton>, {780, 110, 810, 140}, 1},
      {dlg.m_btnEventClear, 249, Is<CImageButton>, {750, 110, 780, 140}, 1},
      {dlg.m_areaEventList, 244, Is<CRoundArea>, {490, 140, 860, 790}, 1},
      {dlg.m_areaEventListInner, 250, Is<CRoundArea>, {490, 140, 860, 740}, 1},
      {dlg.m_textEventHeader3, 251, Is<MText>, {730, 140, 850, 170}, 1},
      {dlg.m_textEventHeader2, 252, Is<MText>, {610, 140, 730, 170}, 1},
      {dlg.m_textEventHeader1, 253, Is<MText>, {490, 140, 610, 170}, 1},
      {dlg.m_recordList, 254, Is<CRecordList>, {490, 170, 860, 740}, 1},
      {dlg.m_btnSaveMacro, 255, Is<MButton>, {1270, 750, 1370, 780}, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    ASSERT_NE(nullptr, row.control);
    EXPECT_EQ(row.id, row.control->GetControlID());
    EXPECT_TRUE(row.is(row.control)) << "class";
    EXPECT_EQ(row.rect, row.control->GetRect());
    EXPECT_EQ(row.visible, row.control->IsVisible());
  }
  EXPECT_NE(dlg.m_areaMacroSettings, dlg.m_areaEventEditor);

  // Start states: the first radio of each group checked, the fields' start texts, the
  // combos' items with their data and the first one selected.
  EXPECT_EQ(1, dlg.m_radioInsertAtCursor->GetCheck());
  EXPECT_EQ(0, dlg.m_radioInsertAtEnd->GetCheck());
  EXPECT_EQ(1, dlg.m_radioEventKey->GetCheck());
  EXPECT_EQ(0, dlg.m_radioEventMouse->GetCheck());
  EXPECT_EQ(0, dlg.m_radioEventDelay->GetCheck());
  EXPECT_EQ(1, dlg.m_radioDelayRecorded->GetCheck());
  EXPECT_EQ(0, dlg.m_radioDelayNone->GetCheck());
  EXPECT_EQ(0, dlg.m_radioDelayFixed->GetCheck());
  EXPECT_STREQ(L"1", dlg.m_editPlayTimes->GetControlTitle());
  EXPECT_STREQ(L"10", dlg.m_editFixedDelay->GetControlTitle());
  EXPECT_STREQ(L"", dlg.m_editEventKey->GetControlTitle());
  EXPECT_EQ(1, dlg.m_editFixedDelay->IsEnabled());
  EXPECT_EQ(2, dlg.m_editPlayTimes->GetLimitText());
  EXPECT_EQ(60, dlg.m_editEventKey->GetLimitText());
  EXPECT_EQ(4, dlg.m_editEventDelay->GetLimitText());
  EXPECT_EQ(0, dlg.m_editEventKey->GetCharMessage());
  EXPECT_EQ(1, dlg.m_editEventDelay->IsNumberOnly());
  EXPECT_EQ(0, dlg.m_editEventKey->IsNumberOnly());
  for (MEdit* edit : {dlg.m_editEventKey, dlg.m_editEventDelay, dlg.m_editPlayTimes, dlg.m_editFixedDelay}) {
    EXPECT_EQ(static_cast<COLORREF>(0x897368), edit->GetEditBKColor()) << edit->GetControlID();
  }
  ASSERT_EQ(3, dlg.m_comboEventMouse->GetItemCount());
  for (int item = 0; item < 3; ++item) EXPECT_EQ(item + 1, dlg.m_comboEventMouse->GetItemData(item));
  EXPECT_EQ(0, dlg.m_comboEventMouse->GetCurSel());
  ASSERT_EQ(2, dlg.m_comboInsertPos->GetItemCount());
  EXPECT_EQ(0, dlg.m_comboInsertPos->GetCurSel());
  EXPECT_EQ(0, dlg.m_comboProfileMacro->GetItemCount());
  EXPECT_EQ(0, dlg.m_recordList->GetItemCount());

  const auto table = [&] {
    std::vector<CRect> rects;
    for (const Row& row : rows) rects.push_back(row.control->GetRect());
    return rects;
  };
  const auto before = table();
  dlg.UISize(CRect(0, 0, 1400, 860));
  EXPECT_TRUE(before == table()) << "placing again gives the same table";
}

TEST_F(KeyboardDlgMacroPageTest, AStoreWithoutMacrosStartsWithTenListedAndTheFirstShown) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  const auto stored = db.Rows("SELECT macro_id, name, play_times, delay_type FROM t_macro_data ORDER BY macro_id");
  ASSERT_EQ(10u, stored.size());
  ASSERT_EQ(10, m_dlg->m_macroList->GetItemCount());
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ("M " + std::to_string(i + 1), stored[i][1]);
    EXPECT_EQ("1", stored[i][2]) << "played once";
    EXPECT_EQ("1", stored[i][3]) << "recorded delays";
    EXPECT_EQ(std::stoi(stored[i][0]), m_dlg->m_macroList->GetItemData(i)) << "the list's item data is the macro id";
    EXPECT_STREQ(CString(stored[i][1].c_str()), m_dlg->m_macroList->GetItemText(i));
  }
  EXPECT_EQ(0, m_dlg->m_macroList->GetCurSel());
  EXPECT_EQ(1, m_dlg->m_btnSaveMacro->IsEnabled());
  EXPECT_EQ(1, m_dlg->m_editEventKey->IsVisible());
  EXPECT_EQ(0, m_dlg->m_editEventDelay->IsVisible()) << "the key field alone shows";
  EXPECT_EQ(0, m_dlg->m_comboEventMouse->IsVisible());
}

TEST_F(KeyboardDlgMacroPageTest, SelectingAMacroShowsItsSettingsAndItsEventsInOrder) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  const int third = static_cast<int>(m_dlg->m_macroList->GetItemData(2));
  const int fourth = static_cast<int>(m_dlg->m_macroList->GetItemData(3));
  const std::string id = std::to_string(third);
  db.Exec("UPDATE t_macro_data SET play_times = 5, delay_type = 3, delay_time = 40 WHERE macro_id = " + id);
  db.Exec("UPDATE t_macro_data SET delay_type = 2 WHERE macro_id = " + std::to_string(fourth));
  // Stored out of order: the list follows record_index.
  db.Exec("INSERT INTO t_macrorecord (macro_id, type, record_index, desc, value, delay_time) VALUES (" + id +
          ", 3, 1, 'A', 65, 0), (" + id + ", 2, 0, 'A', 65, 120)");

  SelectMacro(2);
  EXPECT_EQ((std::vector<std::wstring>{L"A/2/65/120", L"A/3/65/0"}), ListedEvents());
  EXPECT_STREQ(L"5", m_dlg->m_editPlayTimes->GetControlTitle());
  EXPECT_EQ(1, m_dlg->m_radioDelayFixed->GetCheck());
  EXPECT_EQ(0, m_dlg->m_radioDelayRecorded->GetCheck());
  EXPECT_EQ(1, m_dlg->m_editFixedDelay->IsEnabled());
  EXPECT_STREQ(L"40", m_dlg->m_editFixedDelay->GetControlTitle());

  SelectMacro(3);
  EXPECT_TRUE(ListedEvents().empty());
  EXPECT_STREQ(L"1", m_dlg->m_editPlayTimes->GetControlTitle());
  EXPECT_EQ(1, m_dlg->m_radioDelayNone->GetCheck());
  EXPECT_EQ(0, m_dlg->m_radioDelayFixed->GetCheck());
  EXPECT_EQ(0, m_dlg->m_editFixedDelay->IsEnabled());
  EXPECT_STREQ(L"10", m_dlg->m_editFixedDelay->GetControlTitle());

  // Only a click counts; without a selection the editor goes off and the events go.
  SelectMacro(2);
  m_dlg->m_macroList->SendMessageW(NOTIFY_PRESSED, 3, 0);
  EXPECT_EQ(2u, ListedEvents().size());
  SelectMacro(-1);
  EXPECT_TRUE(ListedEvents().empty());
  EXPECT_EQ(0, m_dlg->m_btnSaveMacro->IsEnabled());
  EXPECT_EQ(0, m_dlg->m_recordList->IsEnabled());
  EXPECT_EQ(1, m_dlg->m_macroList->IsEnabled()) << "the list itself stays usable";
}

TEST_F(KeyboardDlgMacroPageTest, TheRadiosShowOneValueFieldAndTheFixedDelayOnlyWithItsMode) {
  WithMacroList();
  struct Case {
    CRadioButton* radio;
    int key, mouse, delay;
  };
  const Case cases[] = {{m_dlg->m_radioEventMouse, 0, 1, 0},
                        {m_dlg->m_radioEventDelay, 0, 0, 1},
                        {m_dlg->m_radioEventKey, 1, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.radio->GetControlID());
    c.radio->SetCheck(1);
    c.radio->SendMessageW(NOTIFY_CLICKED, 0, 0);
    EXPECT_EQ(c.key, m_dlg->m_editEventKey->IsVisible());
    EXPECT_EQ(c.mouse, m_dlg->m_comboEventMouse->IsVisible());
    EXPECT_EQ(c.delay, m_dlg->m_editEventDelay->IsVisible());
  }
  const struct {
    CRadioButton* radio;
    int fixedField;
  } modes[] = {{m_dlg->m_radioDelayFixed, 1}, {m_dlg->m_radioDelayNone, 0}, {m_dlg->m_radioDelayFixed, 1},
               {m_dlg->m_radioDelayRecorded, 0}};
  for (const auto& m : modes) {
    SCOPED_TRACE(m.radio->GetControlID());
    m.radio->SetCheck(1);
    m.radio->SendMessageW(NOTIFY_CLICKED, 0, 0);
    EXPECT_EQ(m.fixedField, m_dlg->m_editFixedDelay->IsEnabled());
  }
}

// Five rows "E0" .. "E4" listed for the first macro, row selected.
void FiveRows(KeyboardDlg& dlg, int selected) {
  dlg.m_recordList->DeleteAllItems();
  for (int i = 0; i < 5; ++i) dlg.m_recordList->AddString(CString(L"E") + CString(std::to_wstring(i).c_str()), 2, 65 + i, i);
  dlg.m_recordList->SetCurSel(selected);
}

std::vector<std::wstring> Names(KeyboardDlg& dlg) {
  std::vector<std::wstring> names;
  for (const RecordItem* item : dlg.m_recordList->GetRecordItems()) names.push_back(std::wstring(item->name));
  return names;
}

TEST_F(KeyboardDlgMacroPageTest, InsertedMouseEventsGoBeforeOrAfterTheSelectedRow) {
  WithMacroList();
  m_dlg->m_radioEventMouse->SetCheck(1);
  m_dlg->m_radioEventMouse->SendMessageW(NOTIFY_CLICKED, 0, 0);
  m_dlg->m_comboEventMouse->SetCurSel(1);
  const CString button = m_dlg->m_comboEventMouse->GetTitleEx();
  struct Case {
    const char* name;
    CRadioButton* position;
    int selected;
    std::vector<std::wstring> rows;
  };
  const std::wstring b(button);
  const Case cases[] = {
      {"after row 2", m_dlg->m_radioInsertAtEnd, 2, {L"E0", L"E1", L"E2", b, b, L"E3", L"E4"}},
      {"before row 2", m_dlg->m_radioInsertAtCursor, 2, {L"E0", L"E1", b, b, L"E2", L"E3", L"E4"}},
      {"after the last row", m_dlg->m_radioInsertAtEnd, 4, {L"E0", L"E1", L"E2", L"E3", L"E4", b, b}},
      {"no row selected", m_dlg->m_radioInsertAtCursor, -1, {L"E0", L"E1", L"E2", L"E3", L"E4", b, b}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.position->SetCheck(1);
    FiveRows(*m_dlg, c.selected);
    m_dlg->m_btnInsertEvent->SendMessageW(NOTIFY_CLICKED, 0, 0);
    EXPECT_EQ(c.rows, Names(*m_dlg));
    std::vector<int> kinds;
    for (const RecordItem* item : m_dlg->m_recordList->GetRecordItems()) {
      if (std::wstring(item->name) == b) {
        kinds.push_back(item->kind);
        EXPECT_EQ(2, item->code) << "the combo's item data";
        EXPECT_EQ(10, item->delay);
      }
    }
    EXPECT_EQ((std::vector<int>{4, 5}), kinds);
  }
}

TEST_F(KeyboardDlgMacroPageTest, RowsMoveAndGoWithTheButtonsWithoutBeingStored) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  struct Case {
    const char* name;
    MControl* button;
    int selected;
    std::vector<std::wstring> rows;
    int selectedAfter;
  };
  const Case cases[] = {
      {"up", m_dlg->m_btnEventUp, 2, {L"E0", L"E2", L"E1", L"E3", L"E4"}, 1},
      {"up from the first row", m_dlg->m_btnEventUp, 0, {L"E0", L"E1", L"E2", L"E3", L"E4"}, 0},
      {"down", m_dlg->m_btnEventDown, 2, {L"E0", L"E1", L"E3", L"E2", L"E4"}, 3},
      {"down from the last row", m_dlg->m_btnEventDown, 4, {L"E0", L"E1", L"E2", L"E3", L"E4"}, 4},
      {"delete", m_dlg->m_btnEventDelete, 1, {L"E0", L"E2", L"E3", L"E4"}, 1},
      {"delete without a selection", m_dlg->m_btnEventDelete, -1, {L"E0", L"E1", L"E2", L"E3", L"E4"}, -1},
      {"clear", m_dlg->m_btnEventClear, 3, {}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FiveRows(*m_dlg, c.selected);
    c.button->SendMessageW(NOTIFY_CLICKED, 0, 0);
    EXPECT_EQ(c.rows, Names(*m_dlg));
    EXPECT_EQ(c.selectedAfter, m_dlg->m_recordList->GetCurSel());
  }
  EXPECT_EQ(0, db.Number("SELECT COUNT(*) FROM t_macrorecord")) << "only saving stores rows";
}

TEST_F(KeyboardDlgMacroPageTest, SavingStoresTheRowsInListOrderAndTheSettingsAndWritesTheKeyboard) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  SelectMacro(2);
  const std::string id = std::to_string(m_dlg->m_macroList->GetItemData(2));
  FiveRows(*m_dlg, 2);
  m_dlg->m_btnEventDown->SendMessageW(NOTIFY_CLICKED, 0, 0);
  struct Case {
    const wchar_t* playCount;
    CRadioButton* mode;
    const wchar_t* fixedDelay;
    const char* stored;  // play_times, delay_type, delay_time
    const wchar_t* shown;
  };
  const Case cases[] = {
      {L"0", m_dlg->m_radioDelayFixed, L"25", "1/3/25", L"1"},
      {L"150", m_dlg->m_radioDelayNone, L"25", "99/2/10", L"99"},
      {L"", m_dlg->m_radioDelayRecorded, L"", "1/1/10", L"1"},
      {L"7", m_dlg->m_radioDelayFixed, L"70000", "7/3/65535", L"7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    m_dlg->m_editPlayTimes->SetControlTitle(c.playCount);
    c.mode->SetCheck(1);
    m_dlg->m_editFixedDelay->SetControlTitle(c.fixedDelay);
    TakeAppended();
    const size_t mark = simkb::Bus::Get().Mark();
    m_dlg->m_btnSaveMacro->SendMessageW(NOTIFY_CLICKED, 0, 0);
    const auto row = db.Rows("SELECT play_times || '/' || delay_type || '/' || delay_time FROM t_macro_data "
                             "WHERE macro_id = " + id);
    ASSERT_EQ(1u, row.size());
    EXPECT_EQ(c.stored, row[0][0]);
    EXPECT_STREQ(c.shown, m_dlg->m_editPlayTimes->GetControlTitle());
    EXPECT_EQ((std::vector<int>{TASK_WRITE_MACROS}), TakeAppended());
    EXPECT_TRUE(Settle());
    EXPECT_GT(LastBracketFrames(mark, CMD_WRITE_MACROS), 0) << "the keyboard got the macro area";
  }
  const auto rows = db.Rows("SELECT desc, record_index, value, delay_time FROM t_macrorecord WHERE macro_id = " + id +
                            " ORDER BY record_index");
  std::vector<std::string> stored;
  for (const auto& r : rows) stored.push_back(r[0] + "/" + r[1] + "/" + r[2] + "/" + r[3]);
  EXPECT_EQ((std::vector<std::string>{"E0/0/65/0", "E1/1/66/1", "E3/2/68/3", "E2/3/67/2", "E4/4/69/4"}), stored);

  m_dlg->m_btnEventClear->SendMessageW(NOTIFY_CLICKED, 0, 0);
  m_dlg->m_btnSaveMacro->SendMessageW(NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ(0, db.Number("SELECT COUNT(*) FROM t_macrorecord WHERE macro_id = " + id)) << "an empty list deletes them";
}

TEST_F(KeyboardDlgMacroPageTest, KeysRunningTheSavedMacroShowItsEventCount) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  SelectMacro(2);
  const std::string id = std::to_string(m_dlg->m_macroList->GetItemData(2));
  const std::string other = std::to_string(m_dlg->m_macroList->GetItemData(1));
  // Key A of two profiles and two layers runs the macro, key B another one. The first profile
  // has its key rows already (one per layer and key); the second gets its row here.
  db.Exec("UPDATE t_key_macro_data SET macro_type = 3, macro_value = " + id + ", macro_desc = 'x' "
          "WHERE profile = 1 AND fn_layer = 0 AND key_code = 4");
  db.Exec("UPDATE t_key_macro_data SET macro_type = 3, macro_value = " + other + ", macro_desc = 'y' "
          "WHERE profile = 1 AND fn_layer = 0 AND key_code = 5");
  db.Exec("INSERT INTO t_key_macro_data (profile, fn_layer, key_code, macro_type, macro_value, macro_desc) VALUES "
          "(2, 1, 4, 3, " + id + ", 'x')");
  FiveRows(*m_dlg, -1);
  m_dlg->m_btnEventDelete->SendMessageW(NOTIFY_CLICKED, 0, 0);
  m_dlg->m_recordList->SetCurSel(0);
  m_dlg->m_btnEventDelete->SendMessageW(NOTIFY_CLICKED, 0, 0);
  m_dlg->m_btnSaveMacro->SendMessageW(NOTIFY_CLICKED, 0, 0);
  const std::string caption = "M" + id + "\n(4)";
  EXPECT_EQ(2, db.Number("SELECT COUNT(*) FROM t_key_macro_data WHERE key_code = 4 AND macro_type = 3 AND "
                         "macro_desc = '" + caption + "'"));
  EXPECT_EQ(0, db.Number("SELECT COUNT(*) FROM t_key_macro_data WHERE key_code = 5 AND macro_type = 3 AND "
                         "macro_desc <> 'y'"))
      << "keys of other macros keep their caption";

  // Deleting the macro makes its keys plain keys again; the other macro's key stays.
  m_dlg->m_btnDeleteMacro->SendMessageW(NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ(0, db.Number("SELECT COUNT(*) FROM t_macro_data WHERE macro_id = " + id));
  EXPECT_EQ(2, db.Number("SELECT COUNT(*) FROM t_key_macro_data WHERE key_code = 4 AND macro_type = 2 AND "
                         "macro_value = 4 AND macro_desc = '' AND profile * 100 + fn_layer IN (100, 201)"));
  EXPECT_EQ(1, db.Number("SELECT COUNT(*) FROM t_key_macro_data WHERE key_code = 5 AND macro_type = 3"));
  EXPECT_EQ(9, m_dlg->m_macroList->GetItemCount());
}

// ---- Recording and key capture through the hook ----

std::wstring TextOf(int id) { return LoadLanString(L"KB.DIALOG", id).GetString(); }

long long g_clockMs = 0;
long long TestClock() { return g_clockMs; }

// One hook event as the system hands it to the hook, dispatched by the window's hook object
// (so that the window reads it). Returns the swallow answer; -1 without a hook.
int HookKey(KeyboardDlg& dlg, int vk, bool released) {
  KBDLLHOOKSTRUCT record = {};
  record.vkCode = static_cast<DWORD>(vk);
  record.scanCode = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
  record.flags = released ? LLKHF_UP : 0;
  if (!dlg.m_inputHook) return -1;
  return dlg.m_inputHook->Dispatch(released ? WM_KEYUP : WM_KEYDOWN, reinterpret_cast<LPARAM>(&record));
}

// Stored events (raw SQL) of a macro other than the shown one, which the budget counts.
void StoreEvents(RawDb& db, const std::string& macroId, int count) {
  db.Exec("DELETE FROM t_macrorecord");
  if (count < 1) return;
  db.Exec("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " + std::to_string(count) +
          ") INSERT INTO t_macrorecord (macro_id, type, record_index, value, delay_time, desc) "
          "SELECT " + macroId + ", 2, i, 65, 0, 'A' FROM n");
}

bool Recording(KeyboardDlg& dlg) {
  return dlg.m_recordState == 1 && dlg.m_inputHook && dlg.m_btnRecordStop->IsVisible() &&
         !dlg.m_btnRecordStart->IsVisible() && dlg.m_btnRecordStop->IsEnabled() && !dlg.m_macroList->IsEnabled() &&
         !dlg.m_btnSaveMacro->IsEnabled() && !dlg.m_tabMain->IsEnabled() && !dlg.m_btnClose->IsEnabled();
}

bool Idle(KeyboardDlg& dlg) {
  return dlg.m_recordState == 0 && !dlg.m_inputHook && !dlg.m_btnRecordStop->IsVisible() &&
         dlg.m_btnRecordStart->IsVisible() && dlg.m_macroList->IsEnabled() && dlg.m_btnSaveMacro->IsEnabled() &&
         dlg.m_tabMain->IsEnabled() && dlg.m_btnClose->IsEnabled();
}

std::vector<std::string> StoredEvents(RawDb& db, const std::string& macroId) {
  std::vector<std::string> rows;
  for (const auto& r : db.Rows("SELECT desc, type, value, delay_time FROM t_macrorecord WHERE macro_id = " + macroId +
                               " ORDER BY record_index")) {
    rows.push_back(r[0] + "/" + r[1] + "/" + r[2] + "/" + r[3]);
  }
  return rows;
}

TEST_F(KeyboardDlgMacroPageTest, TheBudgetWarnsOrRefusesARecordingByTheStoredEvents) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  const std::string other = std::to_string(m_dlg->m_macroList->GetItemData(5));
  struct Case {
    int stored;  // events of another macro, with the ten macros listed
    std::vector<testsupport::BoxTextIds> boxes;
    bool records;
    int budget;
  };
  const Case cases[] = {
      {0, {}, true, 496},
      {310, {{362, 360}}, true, 10},
      {311, {{361, 360}}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    StoreEvents(db, other, c.stored);
    FiveRows(*m_dlg, -1);
    testsupport::MessageBoxAnswerer answerer(1);
    m_dlg->m_btnRecordStart->SendMessageW(NOTIFY_CLICKED, 0, 0);
    EXPECT_EQ(c.boxes, answerer.TextIds(TextOf, 300, 400));
    for (const auto& box : answerer.Boxes()) EXPECT_EQ(nullptr, box.owner) << "a box without an owner";
    if (!c.records) {
      EXPECT_TRUE(Idle(*m_dlg));
      EXPECT_EQ(5, m_dlg->m_recordList->GetItemCount()) << "a refused recording leaves the list";
      continue;
    }
    EXPECT_TRUE(Recording(*m_dlg));
    EXPECT_EQ(c.budget, m_dlg->m_macroRecorder.Budget());
    EXPECT_EQ(0, m_dlg->m_recordList->GetItemCount()) << "a recording starts with an empty list";
    m_dlg->m_btnRecordStop->SendMessageW(NOTIFY_CLICKED, 0, 0);
    EXPECT_TRUE(Idle(*m_dlg));
    EXPECT_TRUE(Settle());
  }
}

TEST_F(KeyboardDlgMacroPageTest, RecordedKeysBecomeRowsWithTheWaitsBetweenThemAndAreSwallowed) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  m_dlg->m_macroClock = TestClock;
  SelectMacro(1);
  const std::string id = std::to_string(m_dlg->m_macroList->GetItemData(1));
  struct Event {
    long long atMs;
    int vk;
    bool released;
  };
  struct Case {
    const char* name;
    CRadioButton* mode;
    const wchar_t* fixedDelay;
    std::vector<Event> events;
    std::vector<std::string> stored;  // desc/type/value/delay
  };
  const Case cases[] = {
      {"recorded waits, 40 s capped",
       m_dlg->m_radioDelayRecorded,
       L"",
       {{1000, 'A', false}, {1250, 'A', true}, {41250, 'B', false}, {41300, 'B', true}},
       {"A/2/65/250", "A/3/65/31000", "B/2/66/50", "B/3/66/0"}},
      {"a held key repeats",
       m_dlg->m_radioDelayRecorded,
       L"",
       {{1000, 'A', false}, {1030, 'A', false}, {1060, 'A', false}, {1100, 'A', true}},
       {"A/2/65/100", "A/3/65/0"}},
      {"modifiers as usages", m_dlg->m_radioDelayNone, L"", {{1, VK_LSHIFT, false}, {9, '1', false}, {20, VK_LSHIFT, true}},
       {"Shift/2/225/0", "1/2/49/0", "Shift/3/225/0"}},
      {"fixed 0", m_dlg->m_radioDelayFixed, L"0", {{1000, 'A', false}, {1250, 'A', true}}, {"A/2/65/0", "A/3/65/0"}},
      {"fixed 40", m_dlg->m_radioDelayFixed, L"40", {{1000, 'A', false}, {9000, 'A', true}},
       {"A/2/65/40", "A/3/65/0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.mode->SetCheck(1);
    m_dlg->m_editFixedDelay->SetControlTitle(c.fixedDelay);
    m_dlg->m_btnRecordStart->SendMessageW(NOTIFY_CLICKED, 0, 0);
    ASSERT_TRUE(Recording(*m_dlg));
    for (const Event& e : c.events) {
      g_clockMs = e.atMs;
      EXPECT_EQ(1, HookKey(*m_dlg, e.vk, e.released)) << "the key goes no further";
    }
    TakeAppended();
    m_dlg->m_btnRecordStop->SendMessageW(NOTIFY_CLICKED, 0, 0);
    EXPECT_TRUE(Idle(*m_dlg));
    EXPECT_EQ(c.stored, StoredEvents(db, id)) << "stopping saves";
    EXPECT_EQ((std::vector<int>{TASK_WRITE_MACROS}), TakeAppended());
    EXPECT_TRUE(Settle());
  }
  // With the recording over the hook is gone, and a hook message that is not the dispatched
  // event is neither read nor answered.
  EXPECT_EQ(0, SendMessageW(m_dlg->GetSafeHwnd(), WM_KB_HOOK_INPUT, WM_KEYDOWN, 0x10));
  m_dlg->m_btnRecordStart->SendMessageW(NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ(0, SendMessageW(m_dlg->GetSafeHwnd(), WM_KB_HOOK_INPUT, WM_KEYDOWN, 0x10));
  EXPECT_EQ(0, m_dlg->m_recordList->GetItemCount());
  m_dlg->m_btnRecordStop->SendMessageW(NOTIFY_CLICKED, 0, 0);
  EXPECT_TRUE(Settle());
}

TEST_F(KeyboardDlgMacroPageTest, AUsedUpBudgetStopsTheRecordingOnceTheHookCallHasReturned) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  m_dlg->m_macroClock = TestClock;
  const std::string other = std::to_string(m_dlg->m_macroList->GetItemData(5));
  const std::string id = std::to_string(m_dlg->m_macroList->GetItemData(0));
  StoreEvents(db, other, 310);  // budget 10
  testsupport::MessageBoxAnswerer answerer(1);
  m_dlg->m_btnRecordStart->SendMessageW(NOTIFY_CLICKED, 0, 0);
  ASSERT_TRUE(Recording(*m_dlg));
  InputHook* const hook = m_dlg->m_inputHook.get();
  for (int i = 0; i < 6; ++i) {
    g_clockMs = 1000 + i * 10;
    EXPECT_EQ(1, HookKey(*m_dlg, 'A' + i, false));
    EXPECT_EQ(1, HookKey(*m_dlg, 'A' + i, true));
  }
  // The eleventh row passed the budget: the hook and the recording live on until the window's
  // queue runs, and the events after it are swallowed without rows.
  EXPECT_EQ(hook, m_dlg->m_inputHook.get());
  EXPECT_EQ(11, m_dlg->m_recordList->GetItemCount());
  EXPECT_EQ(1u, answerer.Count()) << "only the warning at the start";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return answerer.Count() == 2 && Idle(*m_dlg); }, 10000));
  EXPECT_EQ((std::vector<testsupport::BoxTextIds>{{362, 360}, {362, 360}}), answerer.TextIds(TextOf, 300, 400));
  EXPECT_EQ(11u, StoredEvents(db, id).size());
  EXPECT_TRUE(Settle());
}

TEST_F(KeyboardDlgMacroPageTest, TheKeyFieldCapturesOneKeyWhileItHasTheFocus) {
  WithMacroList();
  m_dlg->m_editEventKey->SetControlTitle(L"old");
  m_dlg->m_editEventKey->SendMessageW(NOTIFY_EDITBEGIN, 0, 0);
  ASSERT_NE(nullptr, m_dlg->m_inputHook);
  EXPECT_EQ(2, m_dlg->m_recordState);
  EXPECT_STREQ(L"", m_dlg->m_editEventKey->GetEditText());
  EXPECT_EQ(1, HookKey(*m_dlg, VK_RCONTROL, false));
  EXPECT_EQ(1, HookKey(*m_dlg, VK_RCONTROL, true));
  EXPECT_EQ(228, m_dlg->m_lastEventCode);
  m_dlg->m_editEventKey->SendMessageW(NOTIFY_EDITEND, 0, 0);
  EXPECT_EQ(nullptr, m_dlg->m_inputHook);
  EXPECT_EQ(0, m_dlg->m_recordState);
  EXPECT_STREQ(L"RCtrl", m_dlg->m_editEventKey->GetControlTitle());

  // The captured key is what the insert button adds.
  m_dlg->m_recordList->DeleteAllItems();
  m_dlg->m_btnInsertEvent->SendMessageW(NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ((std::vector<std::wstring>{L"RCtrl/2/228/10", L"RCtrl/3/228/10"}), ListedEvents());
  EXPECT_TRUE(Settle());
}

TEST_F(KeyboardDlgMacroPageTest, ClosingThePopupsEndsARecordingOrCaptureWithoutSaving) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  m_dlg->m_macroClock = TestClock;
  const std::string id = std::to_string(m_dlg->m_macroList->GetItemData(0));
  m_dlg->m_btnRecordStart->SendMessageW(NOTIFY_CLICKED, 0, 0);
  ASSERT_TRUE(Recording(*m_dlg));
  HookKey(*m_dlg, 'A', false);
  HookKey(*m_dlg, 'A', true);
  TakeAppended();
  m_dlg->CloseAllPopups();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Idle(*m_dlg); }, 5000));
  EXPECT_EQ(2, m_dlg->m_recordList->GetItemCount()) << "the rows stay listed";
  EXPECT_TRUE(StoredEvents(db, id).empty());
  EXPECT_TRUE(TakeAppended().empty()) << "nothing written";

  m_dlg->m_editEventKey->SendMessageW(NOTIFY_EDITBEGIN, 0, 0);
  ASSERT_NE(nullptr, m_dlg->m_inputHook);
  m_dlg->CloseAllPopups();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !m_dlg->m_inputHook && m_dlg->m_recordState == 0; }, 5000));
}

// ---- Macro files and the page menu ----

// Runs a call that opens a file dialog, answered with path (Cancel for an empty one).
template <class Call>
int WithDialog(const std::wstring& path, Call call) {
  testsupport::FileDialogDriver dialogs({path});
  return call();
}

int MacroMenu(KeyboardDlg& dlg, int item) {
  return static_cast<int>(SendMessageW(dlg.GetSafeHwnd(), WM_KB_MACRO_MENU, 0, item));
}

// The listed macro in row as stored (raw SQL): its name and settings, then its events.
std::vector<std::string> StoredMacro(RawDb& db, KeyboardDlg& dlg, int row) {
  const std::string id = std::to_string(dlg.m_macroList->GetItemData(row));
  std::vector<std::string> rows;
  for (const auto& r : db.Rows("SELECT name || '/' || play_times || '/' || delay_type || '/' || delay_time "
                               "FROM t_macro_data WHERE macro_id = " + id)) {
    rows.push_back(r[0]);
  }
  for (const std::string& event : StoredEvents(db, id)) rows.push_back(event);
  return rows;
}

int Count(RawDb& db, const char* table) { return db.Number(std::string("SELECT COUNT(*) FROM ") + table); }

TEST_F(KeyboardDlgMacroPageTest, AnExportedMacroImportsAsNewMacrosAndExportsAgainByteForByte) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  testsupport::TempFolder folder(L"macro files");
  const std::string id = std::to_string(m_dlg->m_macroList->GetItemData(1));
  db.Exec("UPDATE t_macro_data SET name = 'Greet <&>', play_times = 3, delay_type = 3, delay_time = 40 "
          "WHERE macro_id = " + id);
  db.Exec("INSERT INTO t_macrorecord (macro_id, type, record_index, value, delay_time, desc) VALUES (" + id +
          ", 2, 0, 65, 120, 'A'), (" + id + ", 3, 1, 65, 0, 'A')");
  m_dlg->FillMacroList();
  SelectMacro(1);
  const std::wstring exported = folder.Path() + L"greet.xml";
  EXPECT_EQ(1, WithDialog(exported, [&] { return m_dlg->ExportMacro(); }));
  const std::string bytes = testsupport::ReadFileBytes(exported);
  EXPECT_NE(std::string::npos, bytes.find("name=\"Greet &lt;&amp;&gt;\" times=\"3\" type=\"3\" delaytime=\"40\""))
      << bytes;

  // Imported twice, once by the menu: two new macros like the first, listed, not selected,
  // and nothing for the keyboard before a save.
  TakeAppended();
  EXPECT_EQ(1, WithDialog(exported, [&] { return m_dlg->ImportMacro(); }));
  EXPECT_EQ(1, WithDialog(exported, [&] { return MacroMenu(*m_dlg, 607); }));
  ASSERT_EQ(12, m_dlg->m_macroList->GetItemCount());
  EXPECT_EQ(1, m_dlg->m_macroList->GetCurSel());
  const auto source = StoredMacro(db, *m_dlg, 1);
  EXPECT_EQ(source, StoredMacro(db, *m_dlg, 10));
  EXPECT_EQ(source, StoredMacro(db, *m_dlg, 11));
  EXPECT_STREQ(L"Greet <&>", m_dlg->m_macroList->GetItemText(11));
  EXPECT_TRUE(TakeAppended().empty());

  m_dlg->m_macroList->SetCurSel(11);
  const std::wstring again = folder.Path() + L"again.xml";
  EXPECT_EQ(1, WithDialog(again, [&] { return MacroMenu(*m_dlg, 608); }));
  EXPECT_EQ(bytes, testsupport::ReadFileBytes(again));
}

TEST_F(KeyboardDlgMacroPageTest, RefusedFilesCancelledDialogsAndFailedWritesChangeNothing) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  testsupport::TempFolder folder(L"macro files");
  std::string items;
  for (int i = 0; i < 600; ++i) items += "<item desc=\"A\" type=\"2\" value=\"65\" delay_time=\"0\"/>";
  struct Case {
    const char* name;
    std::string content;  // null-free file text
    int text;             // language text of the message
  };
  const Case cases[] = {
      {"root profile", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile><macroinfo name=\"x\"/></profile>", 344},
      {"not xml", "macro", 344},
      {"600 events", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro><macroinfo name=\"x\" times=\"1\" type=\"1\" "
                     "delaytime=\"0\"/><macroitems>" + items + "</macroitems></macro>", 361},
  };
  TakeAppended();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring path = folder.Path() + L"hostile.xml";
    testsupport::WriteFileBytes(path, std::vector<uint8_t>(c.content.begin(), c.content.end()));
    testsupport::MessageBoxAnswerer answerer(1);
    EXPECT_EQ(1, WithDialog(path, [&] { return m_dlg->ImportMacro(); }));
    EXPECT_EQ((std::vector<testsupport::BoxTextIds>{{c.text, 341}}), answerer.TextIds(TextOf, 300, 400));
    EXPECT_EQ(10, Count(db, "t_macro_data"));
    EXPECT_EQ(0, Count(db, "t_macrorecord"));
    EXPECT_EQ(10, m_dlg->m_macroList->GetItemCount());
  }

  // Cancelled dialogs: silent, nothing made.
  testsupport::MessageBoxAnswerer answerer(1);
  EXPECT_EQ(0, WithDialog(L"", [&] { return m_dlg->ImportMacro(); }));
  EXPECT_EQ(0, WithDialog(L"", [&] { return m_dlg->ExportMacro(); }));
  EXPECT_EQ(0u, answerer.Count());
  EXPECT_EQ(10, Count(db, "t_macro_data"));

  // An export that cannot be written (the file is held open without sharing) says so.
  const std::wstring held = folder.Path() + L"held.xml";
  const HANDLE file = CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  EXPECT_EQ(0, WithDialog(held, [&] { return m_dlg->ExportMacro(); }));
  CloseHandle(file);
  EXPECT_EQ((std::vector<testsupport::BoxTextIds>{{343, 341}}), answerer.TextIds(TextOf, 300, 400));

  // Without a selection the export asks for one in a standard box.
  m_dlg->m_macroList->SetCurSel(-1);
  std::wstring seen;
  testsupport::ModalScript script(nullptr, 10000);
  script.At(300, [&] {
    const HWND box = testsupport::FindOwnedWindow(m_dlg->GetSafeHwnd(), L"#32770");
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    seen = text;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(0, m_dlg->ExportMacro());
  EXPECT_EQ(TextOf(340), seen);
  EXPECT_TRUE(TakeAppended().empty()) << "nothing for the keyboard";
}

TEST_F(KeyboardDlgMacroPageTest, ThePageMenuMakesDuplicatesWithTheirOwnNamesAndRunsTheOtherItems) {
  WithMacroList();
  RawDb db{std::wstring(DbFile().GetString())};
  const std::string id = std::to_string(m_dlg->m_macroList->GetItemData(2));
  db.Exec("UPDATE t_macro_data SET play_times = 4, delay_type = 2 WHERE macro_id = " + id);
  db.Exec("INSERT INTO t_macrorecord (macro_id, type, record_index, value, delay_time, desc) VALUES (" + id +
          ", 4, 0, 1, 30, 'L'), (" + id + ", 5, 1, 1, 0, 'L')");
  EXPECT_EQ(0, MacroMenu(*m_dlg, 610)) << "nothing remembered";
  SelectMacro(2);
  EXPECT_EQ(1, MacroMenu(*m_dlg, 606));
  EXPECT_EQ(1, MacroMenu(*m_dlg, 610));
  EXPECT_EQ(1, MacroMenu(*m_dlg, 610));
  ASSERT_EQ(12, m_dlg->m_macroList->GetItemCount());
  EXPECT_STREQ(L"M 3 - 1", m_dlg->m_macroList->GetItemText(10));
  EXPECT_STREQ(L"M 3 - 2", m_dlg->m_macroList->GetItemText(11));
  auto copy = StoredMacro(db, *m_dlg, 10);
  auto source = StoredMacro(db, *m_dlg, 2);
  copy.front() = copy.front().substr(copy.front().find('/'));
  source.front() = source.front().substr(source.front().find('/'));
  EXPECT_EQ(source, copy) << "settings and events copied";

  EXPECT_EQ(1, MacroMenu(*m_dlg, 600));
  EXPECT_EQ(13, m_dlg->m_macroList->GetItemCount());
  EXPECT_EQ(12, m_dlg->m_macroList->GetCurSel()) << "the new macro is shown";
  EXPECT_EQ(1, MacroMenu(*m_dlg, 605));
  EXPECT_EQ(12, m_dlg->m_macroList->GetItemCount());
  EXPECT_EQ(1, MacroMenu(*m_dlg, 601)) << "an unknown item";
  EXPECT_EQ(12, Count(db, "t_macro_data"));
  EXPECT_TRUE(Settle());
}

}  // namespace
