#pragma once
// The handlers of the GUI command package, one per command name (the
// set-language and pop-language commands share one). Each takes the
// statement's tokens (keyword first) and the parser, and answers 0 or
// 0x80004005; a refused statement changes nothing.
#include <cstddef>

#include "engine/config/CommandHandler.h"

namespace guicmd {

CoreStatus DefaultSceneCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultButtonCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultStaticCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultCheckBoxCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultSliderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultScrollBarCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultStaticTextCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultTextBoxCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultMLTextBoxCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultListBoxCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultDropDownLBCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultGroupCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultSpinCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultProgressBarCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultLanguageCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultLangDefCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultSetLanguageCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultPositionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultScaleCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultRotateCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultPivotCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultSoundHoverCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultSoundClickCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultActionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultTooltipCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultTooltipScaleCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultTooltipFontCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultTooltipPositionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultTooltipDelayCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultTooltipDurationCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultWorldSizeCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultCamPosCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultCamTarCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultCamPropCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultWorldPropCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus StateModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus StateShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ButtonCaptionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ButtonCaptionScaleCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ButtonCaptionPositionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ButtonPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CBStateModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CBStateShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CBCaptionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CBCaptionScaleCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CBCaptionPositionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CBPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScenePropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SceneCamPosCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SceneCamTarCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SceneCamPropCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ListBoxPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ListBoxHighlightShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ListBoxScrollBarShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ListBoxBindActionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ListBoxDataCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DropDownLBPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DropDownLBBindActionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DropDownLBDataCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SliderPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SliderRangeCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SliderMinValCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SliderMaxValCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SliderThumbModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SliderThumbShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SliderBindDisplayCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarThumbModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarThumbShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarDecreaseModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarDecreaseShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarDecreaseStateModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarDecreaseStateShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarIncreaseModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarIncreaseShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarIncreaseStateModelCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ScrollBarIncreaseStateShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SpinBindTargetCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus SpinShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus StaticTextFontCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus StaticTextTextCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus StaticTextTextScaleCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus StaticTextTextPositionCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus StaticTextTextAlignCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TextBoxFontCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TextBoxTextCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TextBoxTextScaleCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TextBoxBGColorCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TextBoxPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TextBoxCaretShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus MLTextBoxPropertyCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus FillShaderCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus BorderGapCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus BorderGapsCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus DefaultStepCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ProgressBarStatusCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ProgressBarStatusScaleCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ProgressBarStatusOffsetCommand(CStringArray& tokens, CoreParser* parser);

struct CommandEntry {
  const char* name;
  CommandHandler handler;
};
// The 102 command names with their handlers.
inline constexpr size_t kCommandCount = 102;
extern const CommandEntry kCommands[kCommandCount];

}  // namespace guicmd
