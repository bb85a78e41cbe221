// CPercentProgressCtrl: a horizontal progress bar that draws itself: a bar over a background,
// and centred on top either the percentage done or a caption set through the window text.
// Text over the bar takes the background's colour and text over the background the bar's, split
// exactly at the bar's edge. Attached to a template's progress control by subclassing; the
// native control only lends its window, range and position live here.
#pragma once
#include <windows.h>

#include "controls/OffscreenSurface.h"
#include "framework/NarrowString.h"
#include "framework/ProgressCtrl.h"

class CPercentProgressCtrl : public CProgressCtrl {
public:
    CPercentProgressCtrl();
    ~CPercentProgressCtrl() override;

    // Whether any text is drawn; repaints when the window exists and the flag changes.
    void ShowCaption(BOOL bShow);
    // No check and no repaint.
    void SetRange(int nLower, int nUpper);
    // Stores the position (never clamped) and repaints at once when the bar's width in pixels
    // changes. The previous position, or -1 (nothing stored) before the window exists.
    int SetPos(int nPos);
    int StepIt();  // SetPos(position + step), no wrap-around
    void SetStep(int nStep);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    int m_nPosition;
    int m_nStep;
    int m_nUpper;
    int m_nLower;
    CString m_strCaption;
    BOOL m_bShowCaption;
    int m_nLastBarWidth;  // at the last repaint SetPos asked for; -1: none since creation or WM_SIZE
    COLORREF m_crBar;
    COLORREF m_crBack;
    COLORREF m_crTextOnBack;
    COLORREF m_crTextOnBar;
    COffscreenSurface m_surface;  // the bar repaints for every new width: its bitmap is kept
};
