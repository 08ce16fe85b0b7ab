#pragma once
// The program's pictures: the main image list (ilMain) with its
// seven images by role, the icons of the message and question dialogs, the glyphs of the
// flat buttons and the program icon. They are drawn by the program itself, so the windows
// need no resource and look the same in every build; the program icon comes from the
// executable's resources when it has one.
#include "ui/gdi.h"

#include <array>
#include <map>

namespace orvan::ui {

enum class Glyph { Execute, Details, Copy, Settings, Hide, Exit, DropDown, Count };

class Pictures {
public:
    // ilMain image `index` (0 to 6) at `size` pixels; nullptr for an unknown index.
    HICON MainImage(int index, int size);
    // Three golden stars (message dialog) and a light-blue speech bubble (question dialog).
    HICON MessageIcon(int size);
    HICON QuestionIcon(int size);
    // `disabled` gives the grey picture of a disabled button.
    HICON ButtonGlyph(Glyph glyph, int size, bool disabled = false);
    // The program's icon: resource 1 of the executable, or a drawn one.
    HICON ProgramIcon(int size);

private:
    struct Set {
        std::array<UniqueIcon, 7> main;
        UniqueIcon message;
        UniqueIcon question;
        std::array<UniqueIcon, std::size_t(Glyph::Count)> glyphs;
        std::array<UniqueIcon, std::size_t(Glyph::Count)> greyGlyphs;
        UniqueIcon program;
        bool programLoaded = false;
    };
    Set& ForSize(int size);

    std::map<int, Set> sets_;
};

// The process-wide pictures.
Pictures& ProgramPictures();

// Draws an icon at (x, y) in its natural size, or stretched to `size` when given.
void DrawIconAt(HDC dc, HICON icon, int x, int y, int size = 0);

} // namespace orvan::ui
