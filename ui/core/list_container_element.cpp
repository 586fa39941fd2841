#include "ui/core/list_container_element.h"

namespace ui {

ListContainerElement::ListContainerElement() : Box(nullptr) {}

std::wstring ListContainerElement::GetType() const { return L"ListContainerElement"; }

}  // namespace ui
