#pragma once
// The controls of the main window, under the names every handler uses.
// The main window creates them from its control table (ControlTable.cpp).

#include <array>

class QFrame;
class QLabel;
class QWidget;

namespace kel {

class ColorButton;
class FlexGrid;
class TalkBox;

struct Controls {
    QWidget *frmTalk = nullptr;   // the window
    QWidget *canvas = nullptr;    // the design-size client area inside it

    QFrame *fraRes = nullptr;
    std::array<ColorButton *, 5> cmdRes{};   // 0 →, 1 ＢＳ, 2 ←, 3 ↓, 4 ↑
    ColorButton *cmdStart = nullptr;

    QFrame *fraTalk = nullptr;
    ColorButton *cmdUp = nullptr;
    ColorButton *cmdDown = nullptr;
    ColorButton *cmdDec = nullptr;

    QFrame *fraSet = nullptr;
    FlexGrid *grdBoard2 = nullptr;
    ColorButton *cmdEnd2 = nullptr;
    ColorButton *cmdspace = nullptr;

    FlexGrid *grdSp = nullptr;
    FlexGrid *grdEx = nullptr;
    FlexGrid *grdDay = nullptr;
    FlexGrid *grdBoard = nullptr;

    QFrame *fraText = nullptr;
    TalkBox *txtTalk = nullptr;
    ColorButton *cmdWide = nullptr;
    ColorButton *cmdCopy = nullptr;
    ColorButton *cmdPaste = nullptr;

    ColorButton *cmdSamp = nullptr;
    ColorButton *cmdSampADD = nullptr;
    ColorButton *cmdSampDel = nullptr;
    ColorButton *cmdKey = nullptr;
    ColorButton *cmdRead = nullptr;
    ColorButton *cmdEnd = nullptr;
    ColorButton *cmdOpt = nullptr;

    QFrame *fraDay = nullptr;
    ColorButton *cmdRevise = nullptr;
    ColorButton *cmdBack = nullptr;

    QLabel *txtHide = nullptr;   // never shown: the transfer slot of PutText
};

} // namespace kel
