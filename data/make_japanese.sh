#!/bin/sh
# Makes japanese.dat (code page 932, CR LF) from its UTF-8 source.
cd "$(dirname "$0")" && sed 's/$/\r/' japanese.utf8.txt | iconv -f UTF-8 -t CP932 > japanese.dat
