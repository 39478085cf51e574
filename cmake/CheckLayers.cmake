# Run as a script: cmake -DSTAMP=file -DFILES="a|b|c" -P CheckLayers.cmake
# The core of the program (batch runs, imaging, settings, the command line,
# the gallery's writers) must not reach into the window layer, so that
# tessaly-batch never needs a display or Qt Widgets. Any include of a
# header from src/app, src/widgets, src/about, src/filetools, src/viewer or
# src/gallery/dialogs, or of a Qt Widgets header, fails the build here.
set(forbidden_pattern "#[ \t]*include[ \t]*[\"<](app/|widgets/|about/|filetools/|viewer/|gallery/dialogs/|platform/messages|platform/dialogs|platform/services)|#[ \t]*include[ \t]*<(QtWidgets/|QWidget|QDialog|QMessageBox|QApplication)")
string(REPLACE "|" ";" FILES "${FILES}")
set(failed "")
foreach(file IN LISTS FILES)
  file(STRINGS "${file}" lines REGEX "${forbidden_pattern}")
  foreach(line IN LISTS lines)
    string(APPEND failed "\n  ${file}: ${line}")
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "The core libraries include window-layer headers:${failed}")
endif()
file(TOUCH "${STAMP}")
