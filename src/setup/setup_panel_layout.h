#pragma once
// The set-up panel's contents: positions inside Panel3D7, captions, limits,
// fonts and the tab order of the Enter ring.
namespace wb {

class Form1;

void layOutSetupPanel(Form1& f);

}  // namespace wb
