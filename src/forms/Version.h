// The About window.
#pragma once

#include "framework/qt/Form.h"

class TfrmVersion : public framework::TForm {
    Q_OBJECT

  public:
    TfrmVersion();

  protected:
    void FormShow() override;
    void FormCloseQuery(bool& CanClose) override;
};

extern TfrmVersion* frmVersion;
