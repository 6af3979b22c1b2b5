// The text form-file format:
//
//   object Form1: TForm1
//     Caption = 'It''s'#13#10 +
//       'continued'
//     Font.Height = -14
//     Anchors = [akLeft, akTop]
//     Appearance.RaisedBmp.Data = {
//       0A0B0C}
//     OnClick = Button1Click
//     object Button1: TButton
//       PopupMenu = Menu1
//     end
//     object TTimer
//     end
//   end
//
// Reading creates the nested components (owned by the root, each read into
// the component it is nested in), binds references and handler names once
// the whole text has been read, then runs Loaded on the root and on every
// component read. Writing stores only values that differ from their defaults.
#pragma once

#include "platform/Component.h"

#include <string>

namespace platform {

// Raises EReadError naming the line for an unknown class or property, a value
// of the wrong kind or outside the property's type, a component nested in one
// that cannot hold it, objects nested more than 32 levels below the root, or
// malformed text. A failed read frees the components it created and sets the
// root's name and every root property it changed back as they were.
void ReadComponentText(TComponent* Root, const std::string& Text);
// Raises EWriteError for a value the reader would refuse (an enumeration
// value without a name).
std::string WriteComponentText(TComponent* Root);

} // namespace platform
