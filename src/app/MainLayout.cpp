// The main window's layout, in the order a layout reader would apply it.
#include "app/MainLayout.h"

#include "app/MainForm.h"

void ReadMainLayout(TForm1& form)
{
    form.BeginLoading();

    form.SetName("Form1");
    form.SetBounds(244, 280, 298, 78);
    form.BorderStyle = TFormBorderStyle::bsNone;
    form.SetCaption("Nomblet");
    form.SetColor(clBlack);
    form.Font.Name = "MS Sans Serif";
    form.Font.Height = -11;
    form.Font.Color = clWindowText;
    form.Font.Style = 0;
    form.FormStyle = TFormStyle::fsStayOnTop;
    form.OnCreate = [&form](TObject* sender) { form.FormCreate(sender); };
    form.OnCloseQuery = [&form](TObject* sender, bool& canClose) { form.FormCloseQuery(sender, canClose); };

    form.EndLoading();
}
