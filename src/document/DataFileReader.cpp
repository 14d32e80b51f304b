// placeholder, replaced by the reader
