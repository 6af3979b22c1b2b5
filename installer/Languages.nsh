; The installer's own texts; the language files of NSIS give the rest.

LangString SecProgram ${LANG_ENGLISH} "Tessel"
LangString SecProgram ${LANG_JAPANESE} "Tessel"
LangString SecProgram ${LANG_RUSSIAN} "Tessel"
LangString SecProgram ${LANG_THAI} "Tessel"

LangString SecAutostart ${LANG_ENGLISH} "Start Tessel when I log on"
LangString SecAutostart ${LANG_JAPANESE} "ログオン時に Tessel を起動する"
LangString SecAutostart ${LANG_RUSSIAN} "Запускать Tessel при входе в систему"
LangString SecAutostart ${LANG_THAI} "เริ่ม Tessel เมื่อเข้าสู่ระบบ"

LangString SecSettings ${LANG_ENGLISH} "Remove my settings (Tessel.ini and page settings)"
LangString SecSettings ${LANG_JAPANESE} "設定を削除する (Tessel.ini とページの設定)"
LangString SecSettings ${LANG_RUSSIAN} "Удалить мои настройки (Tessel.ini и настройки страниц)"
LangString SecSettings ${LANG_THAI} "ลบการตั้งค่าของฉัน (Tessel.ini และการตั้งค่าหน้า)"

LangString TesselDidNotClose ${LANG_ENGLISH} "Tessel is running and did not close. Close it, then try again."
LangString TesselDidNotClose ${LANG_JAPANESE} "Tessel が実行中で、終了できませんでした。Tessel を終了してから、もう一度お試しください。"
LangString TesselDidNotClose ${LANG_RUSSIAN} "Tessel запущен и не закрылся. Закройте его и повторите попытку."
LangString TesselDidNotClose ${LANG_THAI} "Tessel กำลังทำงานอยู่และไม่ได้ปิดลง โปรดปิดโปรแกรมแล้วลองอีกครั้ง"
