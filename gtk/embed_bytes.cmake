# Writes the bytes of IN as the body of a C array into OUT, so a file is built into the program.
file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUT} "${bytes}\n")
