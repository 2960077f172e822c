// The wizard's nine pages, made in the order the program builds them and added
// to the wizard dialog in page order (which decides where Back and Next lead
// when a page names no target).
#pragma once
#include "NewWizDialog.h"
#include "NoCDWriter.h"
#include "NoDevice.h"
#include "SelectDevice.h"
#include "Step1Dlg.h"
#include "Step2Dlg.h"
#include "Step3Dlg.h"
#include "Step4Dlg.h"
#include "Step5Dlg.h"
#include "Step6Dlg.h"

struct CWizardPages {
    CStep1Dlg step1;
    CNoDevice noDevice;
    CStep2Dlg step2;
    CStep3Dlg step3;
    CStep4Dlg step4;
    CNoCDWriter noWriter;
    CStep5Dlg step5;
    CStep6Dlg step6;
    CSelectDevice selectDevice;

    void AddTo(CNewWizDialog& dialog)
    {
        dialog.AddPage(&step1, CStep1Dlg::IDD);
        dialog.AddPage(&noDevice, CNoDevice::IDD);
        dialog.AddPage(&selectDevice, CSelectDevice::IDD);
        dialog.AddPage(&step2, CStep2Dlg::IDD);
        dialog.AddPage(&step3, CStep3Dlg::IDD);
        dialog.AddPage(&step4, CStep4Dlg::IDD);
        dialog.AddPage(&noWriter, CNoCDWriter::IDD);
        dialog.AddPage(&step5, CStep5Dlg::IDD);
        dialog.AddPage(&step6, CStep6Dlg::IDD);
    }
};
