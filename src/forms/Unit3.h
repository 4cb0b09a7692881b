// The ranking window: the top-10 table of one board size.
#pragma once

#include "framework/qt/Form.h"

class TForm3 : public framework::TForm {
    Q_OBJECT

  public:
    TForm3();

  protected:
    void FormCloseQuery(bool& CanClose) override;
};

extern TForm3* Form3;
