// The work image: the one DisplayImage every capture and every image
// operation builds its result in. A new document adopts it and a fresh empty
// one takes its place.
#pragma once

#include "DisplayImage.h"

extern DisplayImage* WorkImage;

// A fresh empty work image (at start-up); an existing one is deleted first.
void CreateWorkImage();
// Deletes the work image and its blocks (at exit).
void DeleteWorkImage();
// Hands the current work image to the caller, who owns it from now on, and
// puts a fresh empty one in its place.
DisplayImage* TakeWorkImage();
