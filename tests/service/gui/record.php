<?php
// Stands in for a page of the web GUI: appends one line per request to the
// file named by ARRAYWATCH_TEST_REQUEST_LOG, "<method> <uri> <protocol>"
// followed by every header as " | name: value", in the order received.
$line = $_SERVER['REQUEST_METHOD'] . ' ' . $_SERVER['REQUEST_URI'] . ' ' . $_SERVER['SERVER_PROTOCOL'];
foreach (getallheaders() as $name => $value) {
    $line .= ' | ' . $name . ': ' . $value;
}
file_put_contents(getenv('ARRAYWATCH_TEST_REQUEST_LOG'), $line . "\n", FILE_APPEND | LOCK_EX);
