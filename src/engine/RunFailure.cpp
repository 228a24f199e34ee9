#include "engine/RunFailure.h"

#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <typeinfo>
#include <variant>

#include "engine/SettingsView.h"

RunFailure CaughtFailure(bool raiseProgrammingErrors) {
    RunFailure failure;
    try {
        throw;
    } catch (const std::logic_error& e) { // UnknownSetting is one
        failure = {true, e.what()};
    } catch (const std::bad_optional_access& e) {
        failure = {true, e.what()};
    } catch (const std::bad_variant_access& e) {
        failure = {true, e.what()};
    } catch (const std::bad_cast& e) {
        failure = {true, e.what()};
    } catch (const std::bad_function_call& e) {
        failure = {true, e.what()};
    } catch (const std::exception& e) {
        return {false, e.what()};
    } catch (...) {
        failure = {true, "an exception that is no std::exception"};
    }
    if (raiseProgrammingErrors) throw;
    return failure;
}
