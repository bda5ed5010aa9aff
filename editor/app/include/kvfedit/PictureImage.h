#pragma once
// Pictures of the image library shown by Qt: the view, the onion skin and
// the preview paint QImages made from them. Pictures of every depth (1 to
// 32 bits) convert; colours are those every conversion of the library gives.

#include <QImage>

class CDib;

// An opaque 32-bit copy of the picture (QImage::Format_RGB32); a null image
// without a picture.
QImage PictureToImage(CDib& picture);

// Converts rows `top` to `bottom` − 1 of the picture into `image` again,
// which PictureToImage made from a picture of the same size.
void RefreshImageRows(CDib& picture, QImage& image, int top, int bottom);
