#pragma once

#include <windows.h>

// A point in pixels: a POINT with constructors.
class CPoint : public tagPOINT
{
public:
    CPoint()
    {
        x = 0;
        y = 0;
    }
    CPoint(int initX, int initY)
    {
        x = initX;
        y = initY;
    }
    CPoint(POINT pt)
    {
        x = pt.x;
        y = pt.y;
    }

    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
};
