<?php
declare(strict_types=1);
require_once __DIR__ . '/../lib/session.php';
require_login();
require_post(false);
log_off();
header('Location: login.php', true, 303);
