#pragma once

#include <string>

namespace Pym {

class GuiObject;

// Finds a name in the scope and the scopes enclosing it, nearest first: the names recorded by
// the object factory, then the objects' own names. "A->B->C" finds A, then B from A, then C
// from B. Null when nothing answers.
GuiObject* FindObject(GuiObject* scope, const std::string& path);

}  // namespace Pym
