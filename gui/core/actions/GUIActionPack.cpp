// Making the GUI actions by pack index, and dropping an exiting entity from
// every action that lists entities.
#include <new>

#include "gui/core/actions/GUIActions.h"

cAction_Base* CreateGUIAction(uint32_t index) {
  switch (index) {
    case 0: return new (std::nothrow) GA_BtnSetShader();
    case 1: return new (std::nothrow) GA_EditWidget();
    case 2: return new (std::nothrow) GA_EditOtherWidget();
    case 3: return new (std::nothrow) GA_MoveWidget();
    case 4: return new (std::nothrow) GA_MoveOtherWidget();
    case 5: return new (std::nothrow) GA_RotateWidget();
    case 6: return new (std::nothrow) GA_RotateOtherWidget();
    case 7: return new (std::nothrow) GA_MultiAction();
    case 8: return new (std::nothrow) GA_EditScene();
    case 9: return new (std::nothrow) GA_MoveUVCoords();
    case 10: return new (std::nothrow) GA_MoveOtherUVCoords();
    case 11: return new (std::nothrow) GA_MoveListBoxHighlight();
    case 12: return new (std::nothrow) GA_MessageRepeater();
    case 13: return new (std::nothrow) GA_EditGUI();
    case 14: return new (std::nothrow) GA_DisplayTooltip();
    case 15: return new (std::nothrow) GA_DragWidget();
    default: return nullptr;
  }
}

void GUIActionsForget(GUIEntity* entity) {
  if (GA_MoveWidget* move = GA_MoveWidget::GetInstance()) move->Forget(entity);
  if (GA_RotateWidget* rotate = GA_RotateWidget::GetInstance()) rotate->Stop(entity);
  if (GA_MultiAction* multi = GA_MultiAction::GetInstance()) multi->Forget(entity);
  if (GA_MoveUVCoords* uv = GA_MoveUVCoords::GetInstance()) uv->Forget(entity);
  if (GA_MessageRepeater* repeater = GA_MessageRepeater::GetInstance()) repeater->Forget(entity);
  if (GA_DisplayTooltip* tooltips = GA_DisplayTooltip::GetInstance()) tooltips->Forget(entity);
  if (GA_DragWidget* drag = GA_DragWidget::GetInstance()) drag->Forget(entity);
}
