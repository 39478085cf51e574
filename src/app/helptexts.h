#pragma once

#include <QString>

namespace tessaly::texts {

// The help box text of each wizard page; "\r\n" breaks a line.
inline const QString kHelpInput =
    QStringLiteral("Input File Selection\r\n\r\n  First select the processing option:\r\n    - Create Thumbnails\r\n"
                   "    - Rename, Copy, or Convert Files\r\n\r\n  Next select the files for processing by using the "
                   "left pane to navigate to the desired folder.\r\n\r\n  Then, Hilite the files for processing in "
                   "the right pane.\r\n\r\n  When ready, click the Next button.");
inline const QString kHelpOutput =
    QStringLiteral("Output File Options\r\n\r\n  If you chose Rename/Copy/Convert on the previous page, you must now "
                   "decide if you want to just Rename the selected files or Copy with an optional Conversion.\r\n\r\n"
                   "  Use the left pane to navigate to the Output directory.\r\n\r\n  Choose the file type for the "
                   "ouput files (not available for rename).\r\n\r\n  Choose the output file name option.\r\n\r\n  "
                   "Modify the Prefix and sequence number for new files if desired.\r\n\r\n  When ready, click the "
                   "Next button.");
inline const QString kHelpThumbnails =
    QStringLiteral("Thumbnail Options\r\n\r\n  Choose the resize speed for the new thumbnails.  This really refers "
                   "to the quality of the thumbnail images, and I recommend using the default of Quality resize."
                   "\r\n\r\n  Choose the thumbnail image size.");
inline const QString kHelpConfirm =
    QStringLiteral("Confirm Selections\r\n\r\n  Review all information to make sure it's correct.\r\n\r\n  If you're "
                   "converting files to jpg, choose the Jpeg compression.  A higher number means higher quality "
                   "images at the expense of larger file sizes.\r\n\r\n  If you're not renaming files, decide if you "
                   "want same-named files in the target directory to be overwritten.\r\n\r\n  When everything is "
                   "ready, click GO.");
inline const QString kHelpProcessing =
    QStringLiteral("The selected files are now being processed.  You can press Cancel at any time during the "
                   "operation.\r\n\r\nWhen processing is complete, you can create a HTML file, or click the OK "
                   "button to go back to the beginning screen.");

inline const QString kResizeSpeedNote =
    QStringLiteral("The 'Resize Speed' refers to the speed of thumbnail creation.  As its name implies, Fast Resize "
                   "is the quicker of the two, but the image quality is not as good.  I recommend using Quality "
                   "Resize, especially for web pages.  It's not much slower, and produces good quality images. ");
inline const QString kAspectRatioNote =
    QStringLiteral("Maintain Aspect Ratio will keep width and height relative, with the larger of the two being "
                   "the Max Width/Height, unless the source image is already smaller than the Max.  For example, if "
                   "the original image is 400 x 300 and max is 100, the new thumb will be 100 x 75.");
inline const QString kNamingHelp =
    QStringLiteral("The Output File Qualifier can be a prefix or a suffix.  Prefix with seq# will make files with "
                   "names of Qualifiernnn.***, where nnn is the sequence number.  Prefix with file name will make "
                   "files with names of QualifierOoo.*** where Ooo is the original filename (without the file "
                   "type).  The suffix options work similarly;  Suffix with file name will make files with names of "
                   "OooQualifier.***");

inline const QString kDefaultMask = QStringLiteral("*.jpg;*.jpeg;*.bmp;*.gif;*.emf;*.wmf");
inline const QString kGraphicsMask = QStringLiteral("*.jpeg;*.jpg;*.bmp;*.gif;*.wmf;*.emf");

// Help texts are shown with plain line breaks.
inline QString asDisplayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace tessaly::texts
