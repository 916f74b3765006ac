#!/usr/bin/env bash
# Makes the zip and the installer from the built program and help file, reproducibly: every
# file handed to zip and makensis carries the commit's date (SOURCE_DATE_EPOCH), with fixed
# permissions and names in a fixed order, and the help file's own stamps are set to it too.
#   make-packages.sh <OrbelsLaunch.exe> <OrbelsLaunch.chm> <zip to write> <setup.exe to write>
# The build passes the rest in the environment: SOURCE_DATE_EPOCH, OL_VERSION, OL_VERSION_QUAD,
# OL_RES_DIR, OL_WORK_DIR, OL_MAKENSIS, OL_ZIP, OL_PYTHON, OL_STRIP, OL_DOWNLOAD_URL. SHA256SUMS
# goes beside the zip, the installer's winget manifests into winget/ there.
set -euo pipefail
exe=$1 chm=$2 zip_file=$3 setup_file=$4
here=$(cd "$(dirname "$0")" && pwd)
out_dir=$(dirname "$zip_file")
export TZ=UTC LC_ALL=C

# The folder a user gets: "Orbels Launch" with the program, its help and the ReadMe.
stage="$OL_WORK_DIR/stage"
folder="$stage/Orbels Launch"
rm -rf "$OL_WORK_DIR" && mkdir -p "$folder" "$out_dir"
cp "$exe" "$folder/OrbelsLaunch.exe"
# Users get the program without the symbols and the debug sections of the static libraries.
# strip writes a new header time stamp: binutils takes it from SOURCE_DATE_EPOCH.
"$OL_STRIP" --strip-all "$folder/OrbelsLaunch.exe"
cp "$chm" "$folder/OrbelsLaunch.chm"
"$OL_PYTHON" "$here/stamp_chm.py" "$folder/OrbelsLaunch.chm" "$SOURCE_DATE_EPOCH"
# The ReadMe is kept with LF line ends; Notepad on older Windows wants CR LF.
sed -e "s/@VERSION@/$OL_VERSION/g" -e 's/$/\r/' "$here/ReadMe.txt" > "$folder/ReadMe.txt"
chmod 0755 "$folder"
chmod 0644 "$folder"/*
touch -h -d "@$SOURCE_DATE_EPOCH" "$folder"/* "$folder" "$stage"

# The zip: no extra fields (-X: no owner, no Unix times), no folder entries (-D), sorted names.
rm -f "$zip_file"
(cd "$stage" && find "Orbels Launch" -type f | sort | "$OL_ZIP" -q -X -D -9 "$zip_file" -@)
touch -d "@$SOURCE_DATE_EPOCH" "$zip_file"

# The installer: makensis stores the date of each file it packs, the side picture too (the
# pages unpack it at run time), so each of them carries the commit's date.
cp "$here/wizard.bmp" "$OL_WORK_DIR/wizard.bmp"
chmod 0644 "$OL_WORK_DIR/wizard.bmp"
touch -d "@$SOURCE_DATE_EPOCH" "$OL_WORK_DIR/wizard.bmp"
rm -f "$setup_file"
"$OL_MAKENSIS" -V2 -NOCD -INPUTCHARSET UTF8 \
  "-DVERSION=$OL_VERSION" "-DVERSION_QUAD=$OL_VERSION_QUAD" \
  "-DPROGRAM_DIR=$folder" "-DICON=$OL_RES_DIR/app.ico" "-DWIZARD_BITMAP=$OL_WORK_DIR/wizard.bmp" \
  "-DOUT_FILE=$setup_file" \
  "$here/OrbelsLaunch.nsi"
touch -d "@$SOURCE_DATE_EPOCH" "$setup_file"

(cd "$out_dir" && sha256sum "$(basename "$zip_file")" "$(basename "$setup_file")" > SHA256SUMS)
rm -rf "$out_dir/winget"
"$OL_PYTHON" "$here/make_winget_manifests.py" "$setup_file" "$OL_VERSION" "$OL_DOWNLOAD_URL" "$out_dir/winget"
