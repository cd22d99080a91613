#include "WorkImage.h"

DisplayImage* WorkImage = nullptr;

void CreateWorkImage()
{
    delete WorkImage;
    WorkImage = new DisplayImage;
}

void DeleteWorkImage()
{
    delete WorkImage;
    WorkImage = nullptr;
}

DisplayImage* TakeWorkImage()
{
    DisplayImage* taken = WorkImage;
    WorkImage = new DisplayImage;
    return taken;
}
