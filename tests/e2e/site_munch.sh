# The munch step of tests/site_data_check.sh: nomblet.exe, in a fresh copy of the project's Wine prefix, munches
# the site data of a Firefox profile and a Chromium "User Data" folder placed in the user's application data, with
# one site kept and "Munch Site Data" ticked; the munched folders are then copied back.
#   bash site_munch.sh NOMBLET_EXE DRIVER_EXE FIREFOX_PROFILE CHROMIUM_USER_DATA KEPT_SITE
source "$(dirname "$0")/lib.sh"
firefox=$3 chromium=$4 kept=$5

roaming=$(driver folder 26 | tr -d '\r')
profile="$roaming\\Mozilla\\Firefox\\Profiles\\a.default"
user_data="$(driver folder 28 | tr -d '\r')\\Chromium\\User Data"
make_file "$roaming\\Mozilla\\Firefox\\profiles.ini" $'[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n'
mkdir -p "$(unix_path "$profile")" "$(unix_path "$user_data")"
cp -a "$firefox/." "$(unix_path "$profile")"
cp -a "$chromium/." "$(unix_path "$user_data")"
file_exists "$user_data\\Default\\Preferences" || make_file "$user_data\\Default\\Preferences" '{}'
write_settings <<INI
[Settings]
Autoload=0
SiteData=1
[Keep Sites]
$kept=1
INI

# The munch is over once the profiles' files have changed and then stayed as they are for three seconds (a
# database's companions come and go with each opening).
state() {
  find "$(unix_path "$profile")" "$(unix_path "$user_data")" -type f ! -name '*-wal' ! -name '*-shm' \
    ! -name '*-journal' -printf '%p %s %T@\n' | sort | md5sum
}
before=$(state) last=$before steady=0 deadline=$((SECONDS + 60))
start_nomblet
while [ $steady -lt 3 ]; do
  [ $SECONDS -lt $deadline ] || fail "the profiles did not settle within a minute"
  sleep 1
  now=$(state)
  if [ "$now" != "$before" ] && [ "$now" = "$last" ]; then steady=$((steady + 1)); else steady=0; fi
  last=$now
done
close_nomblet
wait_for_exit 10 || fail "nomblet.exe did not end"

rm -rf "${firefox:?}"/* "${chromium:?}"/*
cp -a "$(unix_path "$profile")/." "$firefox/"
cp -a "$(unix_path "$user_data")/." "$chromium/"
