// Image lists: numbered small pictures shared by list views, menus and buttons.
#pragma once

#include <QIcon>
#include <functional>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Classes.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner);

    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Count() const { return int(FImages.size()); }
    // The list shares images it did not make (the system list of file icons).
    bool ShareImages = false;

    // Each returns the new image's index.
    int Add(const TBitmap& Image);
    // Pixels of the given colour become transparent.
    int AddMasked(const TBitmap& Image, TColor MaskColor);
    int AddIcon(const QIcon& Icon);
    void Delete(int Index);
    void Clear();

    // The image as an icon; an empty icon for an index outside the list.
    QIcon Icon(int Index) const;
    // The image at the list's size, or an empty bitmap.
    TBitmap Bitmap(int Index) const;
    void Draw(TCanvas& Canvas, int X, int Y, int Index) const;

    // Called after every change (list views refresh their icons).
    std::function<void()> OnChange;

private:
    void Changed();
    int FWidth = 16;
    int FHeight = 16;
    std::vector<QIcon> FImages;
};
