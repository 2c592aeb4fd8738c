int evt_text_placeholder;
