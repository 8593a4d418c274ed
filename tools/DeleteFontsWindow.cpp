#include "tools/DeleteFontsWindow.h"

#include <algorithm>

#include "app/FormLayout.h"
#include "app/RestoreSettingsOf.h"
#include "compare/UpperCase.h"
#include "platform/FileSystem.h"
#include "platform/TMyRegIniFile.h"
#include "tools/DeleteFontsWindowIds.h"
#include "tools/FontDeletion.h"
#include "tools/FontFileBytes.h"
#include "tools/FoundFileList.h"
#include "tools/ScreenFonts.h"
#include "ui/Dpi.h"
#include "ui/MessagePump.h"

namespace {

const std::vector<ListColumn> kFontColumns = {{"Font Name", 240}, {"Filename", 200}};

constexpr const char* kSampleText = "ABCDEFGHIJKLMNOPQRST\r\nUVWXYZ 1234567890 \r\nabcdefghijklmnopqrstuvwxyz";
constexpr int kSmallestSize = 1, kLargestSize = 200;

bool HasTrueTypeExtension(const std::string& path) {
  return path.size() >= 4 && UpperCaseLocale(path.substr(path.size() - 4)) == ".TTF";
}

// The reader ends each line with a carriage return alone, and a name may hold line feeds of its
// own; an edit control breaks lines only at CR LF.
std::string WithLineBreaks(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      result += text[i];
      continue;
    }
    result += "\r\n";
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return result;
}

}  // namespace

TDelFontsFRM::TDelFontsFRM(const DeleteFontsContext& context)
    : Dialog(IDD_DELETE_FONTS, "TDelFontsFRM", kSection),
      context_(context),
      ini_(std::make_unique<TMyRegIniFile>(context.settingsKeyPath)),
      ui_(StatusControls{}) {}

TDelFontsFRM::~TDelFontsFRM() {
  // The sample's font is freed before a window still open could draw with it.
  if (Exists()) Item(IDC_FONTS_SAMPLE).SetFont(nullptr, false);
}

ListView TDelFontsFRM::FontView() const { return Item(IDC_FONTS_LIST); }

bool TDelFontsFRM::OnInit() {
  ui_ = GuiInteraction(StatusControls{hwnd_});
  FontView().SetFullRowSelect();
  FontView().AddColumns(kFontColumns);
  Item(IDC_FONTS_SAMPLE).SetText(kSampleText);
  SendDlgItemMessageA(hwnd_, IDC_FONTS_SIZE_SPIN, UDM_SETRANGE32, kSmallestSize, kLargestSize);
  RestoreFormLayout(*ini_, kSection, hwnd_, {{"FontView", FontView()}});
  Layout();

  // The window's own font is the sample's first one.
  LOGFONTA own{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)), sizeof own, &own);
  ownFace_ = own.lfFaceName;
  ownSize_ = std::max(kSmallestSize, MulDiv(std::abs(own.lfHeight), 72, static_cast<int>(WindowDpi(hwnd_))));
  SetSampleFont("", {}, ownSize_);

  registrationKey_ = RunningFontRegistrationKey();
  if (!registrationKey_) {
    ui_.Tell(MsgType::Error, "Sorry - this version of Windows isn't supported here!");
    return true;
  }
  fontsFolder_ = FontsFolder();
  locale_ = UserLocaleNumber();
  fonts_ = ReadRegisteredFonts(*registrationKey_);
  FillList({});
  // Selected and focused, so the arrow keys go on from the first row.
  if (!fonts_.empty()) ListView_SetItemState(FontView(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  return true;
}

void TDelFontsFRM::OnCancel() {
  // Destroying the list sends its changes: none of them is a choice of the user.
  filling_ = true;
  SaveFormLayout(*ini_, kSection, hwnd_, {{"FontView", FontView()}});
  End(IDCANCEL);
}

void TDelFontsFRM::OnOK() { DeleteSelectedFonts(); }

void TDelFontsFRM::OnDeleteButton() {
  // Enter in the size box presses the default button: it only takes the size, which it has
  // already. A click on the button has moved the focus there first.
  if (GetFocus() == Item(IDC_FONTS_SIZE).Handle()) return;
  DeleteSelectedFonts();
}

bool TDelFontsFRM::OnCommand(int id, int code, HWND) {
  if (id == IDC_FONTS_SIZE && code == EN_CHANGE) {
    if (settingSize_) return true;
    BOOL valid = FALSE;
    const int size = static_cast<int>(GetDlgItemInt(hwnd_, IDC_FONTS_SIZE, &valid, FALSE));
    if (valid && size >= kSmallestSize && size <= kLargestSize) SetSampleFont(sampleFace_, sampleStyle_, size);
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_FONTS_DELETE:
      OnDeleteButton();
      return true;
    case IDC_FONTS_CLOSE:
      OnCancel();
      return true;
    default:
      return false;
  }
}

bool TDelFontsFRM::OnNotify(int id, const NMHDR& header, LRESULT&) {
  if (id != IDC_FONTS_LIST) return false;
  if (header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) &&
        change.iItem >= 0)
      ShowFont(FontView().OwnerOf(change.iItem));
    return true;
  }
  if (header.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) {
    DeleteSelectedFonts();
    return true;
  }
  if (header.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == 'A' &&
      GetKeyState(VK_CONTROL) < 0) {
    SelectAllRows(FontView());
    return true;
  }
  return false;
}

bool TDelFontsFRM::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
  return HandleToolWindowSizing(
      hwnd_, message, lParam, {480, 380}, [this] { Layout(); }, result);
}

void TDelFontsFRM::Layout() {
  const RECT client = ClientRect();
  const ToolMetrics m = ToolMetricsOf(hwnd_);
  const int width = client.right, height = client.bottom;
  const int buttonLeft = width - m.margin - m.buttonWidth;
  const int listRight = buttonLeft - m.margin;
  const int listTop = m.margin + m.labelHeight + m.gap;
  const int groupsHeight = std::max(8 * m.buttonHeight, (height - listTop) * 9 / 20);
  const int groupsTop = height - m.margin - groupsHeight;
  const int listHeight = std::max(m.buttonHeight, groupsTop - m.gap - listTop);

  Item(IDC_FONTS_LIST_LABEL).Move(m.margin, m.margin, listRight - m.margin, m.labelHeight);
  Item(IDC_FONTS_LIST).Move(m.margin, listTop, listRight - m.margin, listHeight);
  Item(IDC_FONTS_DELETE).Move(buttonLeft, listTop, m.buttonWidth, m.buttonHeight);
  Item(IDC_FONTS_CLOSE).Move(buttonLeft, height - m.margin - m.buttonHeight, m.buttonWidth, m.buttonHeight);

  // The preview and the information side by side under the list, each in its group.
  const int groupWidth = (listRight - m.margin - m.gap) / 2;
  const int infoLeft = m.margin + groupWidth + m.gap;
  const int inner = m.gap * 2;
  const int captionTop = groupsTop + m.labelHeight + m.gap;
  const int captionWidth = m.buttonWidth;
  Item(IDC_FONTS_PREVIEW_GROUP).Move(m.margin, groupsTop, groupWidth, groupsHeight);
  Item(IDC_FONTS_NAME_CAPTION).Move(m.margin + inner, captionTop, captionWidth, m.labelHeight);
  Item(IDC_FONTS_NAME)
      .Move(m.margin + inner + captionWidth, captionTop, std::max(0, groupWidth - 2 * inner - captionWidth),
            m.labelHeight);
  const int sizeTop = captionTop + m.labelHeight + m.gap * 2;
  const int boxHeight = m.buttonHeight - m.gap / 2;
  Item(IDC_FONTS_SIZE_LABEL).Move(m.margin + inner, sizeTop + m.gap / 2, captionWidth, m.labelHeight);
  Item(IDC_FONTS_SIZE).Move(m.margin + inner + captionWidth, sizeTop, m.buttonWidth * 3 / 4, boxHeight);
  // The spin sits at the right of its box; sending its buddy again puts it there.
  SendDlgItemMessageA(hwnd_, IDC_FONTS_SIZE_SPIN, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(IDC_FONTS_SIZE).Handle()),
                      0);
  const int sampleTop = sizeTop + boxHeight + m.gap * 2;
  Item(IDC_FONTS_SAMPLE)
      .Move(m.margin + inner, sampleTop, std::max(0, groupWidth - 2 * inner),
            std::max(m.buttonHeight, groupsTop + groupsHeight - inner - sampleTop));

  Item(IDC_FONTS_INFO_GROUP).Move(infoLeft, groupsTop, listRight - infoLeft, groupsHeight);
  Item(IDC_FONTS_INFO)
      .Move(infoLeft + inner, captionTop, std::max(0, listRight - infoLeft - 2 * inner),
            std::max(m.buttonHeight, groupsTop + groupsHeight - inner - captionTop));
  Invalidate();
}

void TDelFontsFRM::FillList(const std::vector<bool>& selected) {
  const ListView list = FontView();
  filling_ = true;
  {
    ListView::Refill refill(list);
    for (size_t i = 0; i < fonts_.size(); ++i) list.AddRow({i}, {fonts_[i].displayName, fonts_[i].fileName});
  }
  for (size_t i = 0; i < selected.size() && i < fonts_.size(); ++i)
    if (selected[i]) list.SetSelected(i, true);
  filling_ = false;
}

std::string TDelFontsFRM::PathOf(const RegisteredFont& font) const { return FontFilePath(font.fileName, fontsFolder_); }

void TDelFontsFRM::ShowFont(size_t row) {
  if (filling_ || row >= fonts_.size() || fonts_[row].fileName.empty() || shown_ == row) return;
  shown_ = row;
  FontStyle style;
  std::string face;
  const std::string path = PathOf(fonts_[row]);
  if (FileExists(path) && HasTrueTypeExtension(path)) {
    const FontFileBytes bytes(path);
    // A file that gives no information leaves the preview as it was.
    if (const std::optional<TFontInfoRec> info = TrueTypeNameReader(locale_).Read(bytes)) {
      Item(IDC_FONTS_INFO).SetText(WithLineBreaks(info->infoText));
      face = info->familyName;
      style = info->style;
    }
  } else {
    face = FamilyOfDisplayName(fonts_[row].displayName, InstalledScreenFamilies()).value_or("");
    Item(IDC_FONTS_INFO).SetText("");
  }
  if (face.empty()) return;
  Item(IDC_FONTS_NAME).SetText(face);
  SetSampleFont(face, style, sampleSize_);
}

void TDelFontsFRM::SetSampleFont(const std::string& face, FontStyle style, int size) {
  const Window sample = Item(IDC_FONTS_SAMPLE);
  if (face.empty()) {
    sample.SetFont(reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    sampleFont_.Reset();
    sampleFace_ = ownFace_;
    sampleStyle_ = {};
    sampleSize_ = ownSize_;
    SetSizeBox(ownSize_);
    return;
  }
  UniqueFont font(CreateFontA(-MulDiv(size, static_cast<int>(WindowDpi(hwnd_)), 72), 0, 0, 0,
                              style.bold ? FW_BOLD : FW_NORMAL, style.italic, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str()));
  if (!font) return;
  sample.SetFont(font.Get());
  // The old font goes once the memo no longer draws with it.
  sampleFont_ = std::move(font);
  sampleFace_ = face;
  sampleStyle_ = style;
  sampleSize_ = size;
  SetSizeBox(size);
}

void TDelFontsFRM::SetSizeBox(int size) {
  // Setting the text that is there already would put the caret back before what is being typed.
  BOOL valid = FALSE;
  if (static_cast<int>(GetDlgItemInt(hwnd_, IDC_FONTS_SIZE, &valid, FALSE)) == size && valid) return;
  settingSize_ = true;
  SendDlgItemMessageA(hwnd_, IDC_FONTS_SIZE_SPIN, UDM_SETPOS32, 0, size);
  SetDlgItemInt(hwnd_, IDC_FONTS_SIZE, static_cast<UINT>(size), FALSE);
  settingSize_ = false;
}

void TDelFontsFRM::DeleteSelectedFonts() {
  if (!registrationKey_) return;
  const std::vector<size_t> selected = FontView().SelectedOwners();
  if (!ConfirmFontDeletion(selected.size(), ui_)) return;
  // No font to be deleted may be in use by the preview.
  SetSampleFont("", {}, sampleSize_);
  Item(IDC_FONTS_NAME).SetText("");
  MessagePump::RunPending();

  std::vector<FontToDelete> rows;
  for (const RegisteredFont& font : fonts_) rows.push_back({font.displayName, PathOf(font)});
  const RestoreSettings settings = CurrentRestoreSettings(context_.programFolder);
  const FontDeletionContext deletion{*registrationKey_,
                                     settings.backupDir,
                                     context_.deletion,
                                     settings.Deletion(),
                                     &ui_,
                                     [](const std::string& path) { return RemoveFontResourceA(path.c_str()) != 0; },
                                     [](const std::string& path) { AddFontResourceA(path.c_str()); },
                                     [] {
                                       for (int pause = 0; pause < 2; ++pause) {
                                         MessagePump::RunPending();
                                         Sleep(100);
                                       }
                                     }};
  std::vector<size_t> gone = DeleteFonts(rows, selected, deletion);

  // The rows of deleted fonts go; the fonts that stayed keep their selection.
  std::vector<bool> stillSelected(fonts_.size(), false);
  for (size_t row : selected) stillSelected[row] = true;
  std::sort(gone.rbegin(), gone.rend());
  for (size_t row : gone) {
    fonts_.erase(fonts_.begin() + static_cast<std::ptrdiff_t>(row));
    stillSelected.erase(stillSelected.begin() + static_cast<std::ptrdiff_t>(row));
  }
  shown_.reset();
  FillList(stillSelected);
}

void RunDeleteFontsWindow(HWND owner, const DeleteFontsContext& context) {
  TDelFontsFRM form(context);
  form.DoModal(owner);
}
