// The main window's layout: every component's starting values.
#pragma once

class TForm1;

// Sets the layout values while the form and its components are loading,
// then runs their after-loading hooks.
void ReadMainLayout(TForm1& form);
