// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The object names of the controls whose names are numbered rather than descriptive, for the
// tests that find them: each constant says what the control is.
namespace lumetta::object_names {

// The options dialog.
inline constexpr char kPages[] = "PageControl1";
inline constexpr char kOkButton[] = "BitBtn1";
inline constexpr char kCancelButton[] = "BitBtn2";
inline constexpr char kDefaultsButton[] = "BitBtn3";
inline constexpr char kAutomaticRadio[] = "RadioButton1";
inline constexpr char kIntervalSpin[] = "SpinEdit1";
inline constexpr char kManualRadio[] = "RadioButton2";
inline constexpr char kNoStretchRadio[] = "RadioButton3";
inline constexpr char kFitRadio[] = "RadioButton4";
inline constexpr char kPictureSizeSpin[] = "UpDown1";
inline constexpr char kNoEffectsRadio[] = "RadioButton7";
inline constexpr char kRandomEffectsRadio[] = "RadioButton8";
inline constexpr char kSelectEffectsButton[] = "Button4";
inline constexpr char kMusicUpButton[] = "Button5";
inline constexpr char kMusicDownButton[] = "Button6";
inline constexpr char kMusicAddButton[] = "Button7";
inline constexpr char kMusicRemoveButton[] = "Button8";
inline constexpr char kMusicClearButton[] = "Button9";
inline constexpr char kViewerFilterBox[] = "FilterComboBox2";
inline constexpr char kColorsRadio[] = "RadioButton10";
inline constexpr char kTopColorPanel[] = "Panel2";
inline constexpr char kBottomColorPanel[] = "Panel3";
inline constexpr char kImageRadio[] = "RadioButton11";
inline constexpr char kPlacementBox[] = "ComboBox2";
inline constexpr char kLoopCheck[] = "CheckBox1";
inline constexpr char kCaptionCheck[] = "CheckBox2";
inline constexpr char kCaptionColorPanel[] = "Panel4";

// The effect selection dialog.
inline constexpr char kPresetBox[] = "ComboBox1";
inline constexpr char kEffectList[] = "CheckListBox1";
inline constexpr char kEffectPreviewPanel[] = "Panel1";
inline constexpr char kClearEffectsButton[] = "Button3";
inline constexpr char kEffectsOkButton[] = "Button2";
inline constexpr char kEffectsCancelButton[] = "Button1";

// The main window.
inline constexpr char kMainToolBar[] = "ToolBar1";
inline constexpr char kPictureToolBar[] = "ToolBar2";
inline constexpr char kFolderToolBar[] = "ToolBar3";
inline constexpr char kMoveArrows[] = "UpDown1";

}  // namespace lumetta::object_names
