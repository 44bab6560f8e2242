// The keyword languages of the description files: "GUICommon" and one per
// widget kind, each keyword bound to a command of the command registry.
#include <string>

#include "engine/config/LanguageManager.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/GUIKeywordTable.h"
#include "platform/DebugOutput.h"

const GUIKeywordBinding kGUIKeywordBindings[kGUIKeywordBindingCount] = {
    {"GUICommon", "scene", "DefaultSceneCommand"},
    {"GUICommon", "button", "DefaultButtonCommand"},
    {"GUICommon", "static", "DefaultStaticCommand"},
    {"GUICommon", "checkbox", "DefaultCheckBoxCommand"},
    {"GUICommon", "slider", "DefaultSliderCommand"},
    {"GUICommon", "scrollbar", "DefaultScrollBarCommand"},
    {"GUICommon", "statictext", "DefaultStaticTextCommand"},
    {"GUICommon", "textbox", "DefaultTextBoxCommand"},
    {"GUICommon", "mltextbox", "DefaultMLTextBoxCommand"},
    {"GUICommon", "listbox", "DefaultListBoxCommand"},
    {"GUICommon", "dropdownlb", "DefaultDropDownLBCommand"},
    {"GUICommon", "group", "DefaultGroupCommand"},
    {"GUICommon", "spin", "DefaultSpinCommand"},
    {"GUICommon", "progressbar", "DefaultProgressBarCommand"},
    {"GUICommon", "position", "DefaultPositionCommand"},
    {"GUICommon", "scale", "DefaultScaleCommand"},
    {"GUICommon", "rotate", "DefaultRotateCommand"},
    {"GUICommon", "pivot", "DefaultPivotCommand"},
    {"GUICommon", "language", "DefaultLanguageCommand"},
    {"GUICommon", "langdef", "DefaultLangDefCommand"},
    {"GUICommon", "setlanguage", "DefaultSetLanguageCommand"},
    {"GUICommon", "poplanguage", "DefaultPopLanguageCommand"},
    {"GUICommon", "model", "DefaultModelCommand"},
    {"GUICommon", "shader", "DefaultShaderCommand"},
    {"GUICommon", "soundhover", "DefaultSoundHoverCommand"},
    {"GUICommon", "soundclick", "DefaultSoundClickCommand"},
    {"GUICommon", "action", "DefaultActionCommand"},
    {"GUICommon", "worldsize", "DefaultWorldSizeCommand"},
    {"GUICommon", "campos", "DefaultCamPosCommand"},
    {"GUICommon", "camtar", "DefaultCamTarCommand"},
    {"GUICommon", "camprop", "DefaultCamPropCommand"},
    {"GUICommon", "property", "DefaultPropertyCommand"},
    {"GUICommon", "worldprop", "DefaultWorldPropCommand"},
    {"GUICommon", "tooltip", "DefaultTooltipCommand"},
    {"GUICommon", "tooltip_scale", "DefaultTooltipScaleCommand"},
    {"GUICommon", "tooltip_font", "DefaultTooltipFontCommand"},
    {"GUICommon", "tooltip_position", "DefaultTooltipPositionCommand"},
    {"GUICommon", "tooltip_delay", "DefaultTooltipDelayCommand"},
    {"GUICommon", "tooltip_duration", "DefaultTooltipDurationCommand"},
    {"GUIButton", "statemodel", "StateModelCommand"},
    {"GUIButton", "stateshader", "StateShaderCommand"},
    {"GUIButton", "caption", "ButtonCaptionCommand"},
    {"GUIButton", "captionscale", "ButtonCaptionScaleCommand"},
    {"GUIButton", "captionposition", "ButtonCaptionPositionCommand"},
    {"GUIButton", "property", "ButtonPropertyCommand"},
    {"GUIProgressBar", "fillshader", "FillShaderCommand"},
    {"GUIProgressBar", "bordergap", "BorderGapCommand"},
    {"GUIProgressBar", "bordergaps", "BorderGapsCommand"},
    {"GUIProgressBar", "defaultstep", "DefaultStepCommand"},
    {"GUIProgressBar", "status", "ProgressBarStatusCommand"},
    {"GUIProgressBar", "statusscale", "ProgressBarStatusScaleCommand"},
    {"GUIProgressBar", "statusoffset", "ProgressBarStatusOffsetCommand"},
    {"GUICheckBox", "statemodel", "CBStateModelCommand"},
    {"GUICheckBox", "stateshader", "CBStateShaderCommand"},
    {"GUICheckBox", "caption", "CBCaptionCommand"},
    {"GUICheckBox", "captionscale", "CBCaptionScaleCommand"},
    {"GUICheckBox", "captionposition", "CBCaptionPositionCommand"},
    {"GUICheckBox", "property", "CBPropertyCommand"},
    {"GUIGroup", nullptr, nullptr},
    {"GUISlider", "property", "SliderPropertyCommand"},
    {"GUISlider", "range", "SliderRangeCommand"},
    {"GUISlider", "minval", "SliderMinValCommand"},
    {"GUISlider", "maxval", "SliderMaxValCommand"},
    {"GUISlider", "thumbmodel", "SliderThumbModelCommand"},
    {"GUISlider", "thumbshader", "SliderThumbShaderCommand"},
    {"GUISlider", "bind_display", "SliderBindDisplayCommand"},
    {"GUITextBox", "font", "TextBoxFontCommand"},
    {"GUITextBox", "text", "TextBoxTextCommand"},
    {"GUITextBox", "textscale", "TextBoxTextScaleCommand"},
    {"GUITextBox", "bgcolor", "TextBoxBGColorCommand"},
    {"GUITextBox", "caretshader", "TextBoxCaretShaderCommand"},
    {"GUITextBox", "property", "TextBoxPropertyCommand"},
    {"GUIMLTextBox", "font", "TextBoxFontCommand"},
    {"GUIMLTextBox", "text", "TextBoxTextCommand"},
    {"GUIMLTextBox", "textscale", "TextBoxTextScaleCommand"},
    {"GUIMLTextBox", "bgcolor", "TextBoxBGColorCommand"},
    {"GUIMLTextBox", "caretshader", "TextBoxCaretShaderCommand"},
    {"GUIMLTextBox", "property", "MLTextBoxPropertyCommand"},
    {"GUIStaticText", "font", "StaticTextFontCommand"},
    {"GUIStaticText", "text", "StaticTextTextCommand"},
    {"GUIStaticText", "textscale", "StaticTextTextScaleCommand"},
    {"GUIStaticText", "textpos", "StaticTextTextPositionCommand"},
    {"GUIStaticText", "textalign", "StaticTextTextAlignCommand"},
    {"GUIListBox", "font", "TextBoxFontCommand"},
    {"GUIScene", "property", "ScenePropertyCommand"},
    {"GUIScene", "campos", "SceneCamPosCommand"},
    {"GUIScene", "camtar", "SceneCamTarCommand"},
    {"GUIScene", "camprop", "SceneCamPropCommand"},
    {"GUISpin", "bindtarget", "SpinBindTargetCommand"},
    {"GUISpin", "shader", "SpinShaderCommand"},
    {"GUIScrollBar", "property", "ScrollBarPropertyCommand"},
    {"GUIScrollBar", "thumbmodel", "ScrollBarThumbModelCommand"},
    {"GUIScrollBar", "thumbshader", "ScrollBarThumbShaderCommand"},
    {"GUIScrollBar", "decreasemodel", "ScrollBarDecreaseModelCommand"},
    {"GUIScrollBar", "decreaseshader", "ScrollBarDecreaseShaderCommand"},
    {"GUIScrollBar", "decreasestatemodel", "ScrollBarDecreaseStateModelCommand"},
    {"GUIScrollBar", "decreasestateshader", "ScrollBarDecreaseStateShaderCommand"},
    {"GUIScrollBar", "increasemodel", "ScrollBarIncreaseModelCommand"},
    {"GUIScrollBar", "increaseshader", "ScrollBarIncreaseShaderCommand"},
    {"GUIScrollBar", "increasestatemodel", "ScrollBarIncreaseStateModelCommand"},
    {"GUIScrollBar", "increasestateshader", "ScrollBarIncreaseStateShaderCommand"},
    {"GUIListBox", "property", "ListBoxPropertyCommand"},
    {"GUIListBox", "highlightshader", "ListBoxHighlightShaderCommand"},
    {"GUIListBox", "scrollbarshader", "ListBoxScrollBarShaderCommand"},
    {"GUIListBox", "bindaction", "ListBoxBindActionCommand"},
    {"GUIListBox", "data", "ListBoxDataCommand"},
    {"GUIDropDownLB", "property", "DropDownLBPropertyCommand"},
    {"GUIDropDownLB", "highlightshader", "ListBoxHighlightShaderCommand"},
    {"GUIDropDownLB", "scrollbarshader", "ListBoxScrollBarShaderCommand"},
    {"GUIDropDownLB", "bindaction", "DropDownLBBindActionCommand"},
    {"GUIDropDownLB", "data", "DropDownLBDataCommand"},
};

void GUI::RegisterKeywords() {
  LanguageManager* languages = GetLanguageManager();
  if (!languages) return;
  for (size_t i = 0; i < kGUIKeywordBindingCount; ++i) {
    const GUIKeywordBinding& binding = kGUIKeywordBindings[i];
    std::string language = binding.language;
    languages->GetOrCreateLanguage(language);
    if (binding.keyword) {
      std::string keyword = binding.keyword;
      std::string command = binding.command;
      if (!languages->AddKeyword(language, keyword, command)) {
        platform::DebugPrintf("[GUI::RegisterKeywords] %s: \"%s\" -> \"%s\" refused\n", binding.language,
                              binding.keyword, binding.command);
      }
    }
    // "GUICommon" becomes current once it is filled, before the widget
    // languages are made.
    const bool lastCommon = std::string(binding.language) == "GUICommon" &&
                            (i + 1 == kGUIKeywordBindingCount ||
                             std::string(kGUIKeywordBindings[i + 1].language) != "GUICommon");
    if (lastCommon) {
      std::string common = "GUICommon";
      languages->PushLanguage(common);
    }
  }
}
