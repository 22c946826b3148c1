#include "pym/gui/NewScrolledListBox.h"

#include <algorithm>

#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered = RegisterType<NewScrolledListBox>(
    "Pym::NewScrolledListBox", "$PYM/Objects/NewScrolledListBox/NewScrolledListBox.xml");

}  // namespace

NewScrolledListBox::NewScrolledListBox() : list_(std::make_unique<NewListBox>()) {
    list_->SetName("List");
    SetContent(list_.get());
    list_->SetChangeHook([this](NewListBox::Change change) {
        ContentChanged();
        if (change == NewListBox::Change::Active) ShowActive();
    });
}

NewScrolledListBox::~NewScrolledListBox() {
    list_->SetChangeHook(nullptr);
    SetContent(nullptr);
}

bool NewScrolledListBox::LoadFromXml(TiXmlElement* element) {
    if (!ScrollWindow::LoadFromXml(element)) return false;
    list_->ReadLook(element);
    SetLineSize(list_->RowHeight());
    ContentChanged();
    return true;
}

void NewScrolledListBox::FitContent(int viewportWidth, int) {
    list_->Resize(viewportWidth, list_->RowsHeight());
    list_->Relayout();
}

void NewScrolledListBox::ShowActive() {
    const int active = list_->GetActive();
    if (active < 0) return;
    const int top = active * list_->RowHeight(), bottom = top + list_->RowHeight();
    const int view = Viewport()->GetHeight();
    int y = ScrollY();
    if (top < y)
        y = top;
    else if (bottom > y + view)
        y = bottom - view;
    if (y != ScrollY()) ScrollTo(ScrollX(), y);
}

}  // namespace Pym
